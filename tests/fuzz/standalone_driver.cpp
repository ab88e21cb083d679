// Runs a libFuzzer entry point without libFuzzer: every file named on the command line (or
// found in a named folder) first, then --runs=N inputs made from a fixed seed by random bytes
// and by mutating the corpus. Deterministic, bounded, and usable with any compiler, so the
// fuzz targets double as sanitizer smoke tests in CTest.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

std::vector<uint8_t> readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void runOne(const std::vector<uint8_t> &input) {
    // A copy of exactly the input's size, so an overread is caught by the sanitizers.
    std::vector<uint8_t> copy(input);
    LLVMFuzzerTestOneInput(copy.empty() ? nullptr : copy.data(), copy.size());
}

} // namespace

int main(int argc, char **argv) {
    long runs = 10000;
    std::vector<std::vector<uint8_t>> corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--runs=", 0) == 0) {
            runs = std::strtol(arg.c_str() + 7, nullptr, 10);
            continue;
        }
        const std::filesystem::path path(arg);
        if (std::filesystem::is_directory(path)) {
            for (const auto &entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    corpus.push_back(readFile(entry.path()));
                }
            }
        } else if (std::filesystem::is_regular_file(path)) {
            corpus.push_back(readFile(path));
        }
    }
    for (const auto &input : corpus) {
        runOne(input);
    }
    std::mt19937 rng(20261207u);
    std::uniform_int_distribution<int> byte(0, 255);
    for (long run = 0; run < runs; ++run) {
        std::vector<uint8_t> input;
        if (!corpus.empty() && (run % 2 == 0)) {
            input = corpus[static_cast<size_t>(run / 2) % corpus.size()];
            const int edits = 1 + static_cast<int>(rng() % 8);
            for (int e = 0; e < edits; ++e) {
                const unsigned kind = rng() % 4;
                if (kind == 0 && !input.empty()) {
                    input[rng() % input.size()] = static_cast<uint8_t>(byte(rng));
                } else if (kind == 1) {
                    input.insert(input.begin() + static_cast<long>(rng() % (input.size() + 1)),
                                 static_cast<uint8_t>(byte(rng)));
                } else if (kind == 2 && !input.empty()) {
                    input.erase(input.begin() + static_cast<long>(rng() % input.size()));
                } else if (!input.empty()) {
                    input.resize(rng() % input.size());
                }
            }
        } else {
            input.resize(rng() % 512);
            for (auto &b : input) {
                b = static_cast<uint8_t>(byte(rng));
            }
        }
        runOne(input);
    }
    std::printf("fuzz smoke: %zu corpus inputs, %ld generated inputs, no finding\n", corpus.size(),
                runs);
    return 0;
}
