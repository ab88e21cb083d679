#include "scratch_dir.h"

#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

void ScratchDir::SetUp() {
    previous_ = fs::current_path();
    std::random_device random;
    for (int attempt = 0; attempt < 100 && dir_.empty(); ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("vintorel-kernel32-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            dir_ = candidate;
        }
    }
    ASSERT_FALSE(dir_.empty());
    fs::current_path(dir_);
}

void ScratchDir::TearDown() {
    fs::current_path(previous_);
    if (!dir_.empty()) {
        // Give back write permission that a test took away, so that everything can go.
        for (const auto &entry : fs::recursive_directory_iterator(dir_)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        }
        fs::remove_all(dir_);
    }
}

void ScratchDir::writeFile(const std::string &path, const std::string &content) {
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) {
        fs::create_directories(parent);
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

std::string ScratchDir::readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void ScratchDir::makeDir(const std::string &path) {
    fs::create_directories(path);
}
