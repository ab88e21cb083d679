#!/usr/bin/env bash
# make_clips.sh - makes Vintorel's 21 sound clips from free tools.
#
# Output (all committed, so that nobody needs these tools to build, test or run Vintorel):
#   Data/0en.vcl .. Data/9en.vcl   English digits "zero" .. "nine"   (espeak-ng voice "en")
#   Data/0ru.vcl .. Data/9ru.vcl   Russian digits "ноль" .. "девять" (espeak-ng voice "ru")
#   Data/tone.vcl                  the tone: 880 Hz sine, 120 ms, 8 ms half-sine fades in and out
#   tests/clipdecoder/data/*.wav   the WAV files the clips were encoded from (0en.wav .. tone.wav),
#                                  the clip decoder's test fixtures
#   tests/clipdecoder/corpus/*.vcl two small streams for the clip decoder's fuzz target
# A clip (.vcl) is a FLAC stream; every clip is mono, 16-bit, 22050 Hz.
#
# Voice processing: espeak-ng at its default speed (175 words per minute), leading and trailing
# silence cut (below -60 dBFS), a 5 ms fade-in and 10 ms fade-out against clicks, peak normalised
# to -1 dBFS. Every digit must fit well inside the program's 600 ms announce tick, so that two
# digits spoken on successive ticks never overlap: a digit longer than MAX_DIGIT_SECONDS (0.50 s)
# would be sped up with sox's tempo effect (pitch kept) to that length. With espeak-ng 1.51 none
# needs it: the longest digits are English "seven" (about 0.43 s) and Russian "девять" (0.38 s).
# The tone peaks at -15 dBFS, 14 dB below the voice's peak; its RMS level (-18.4 dBFS) is a
# little below the digits' average (-17 dBFS), so it does not stand out louder than the voice.
#
# To remake the clips (Debian packages: espeak-ng, espeak-ng-data, sox, flac; bash, awk):
#   apt-get install espeak-ng sox flac
#   tools/make_clips.sh            # from any directory; writes into this repository
# then run the clip decoder tests (label unit) and commit Data/*.vcl,
# tests/clipdecoder/data/*.wav and tests/clipdecoder/corpus/*.vcl together. The output is byte-for-byte reproducible with the same
# tool versions (made with espeak-ng 1.51, SoX 14.4.2, flac 1.4.2 on Debian 12): sox runs in
# repeatable mode (-R) without dither (-D), and flac is given fixed settings.
set -euo pipefail

readonly RATE=22050
readonly SPEED=175
readonly MAX_DIGIT_SECONDS=0.50
readonly SILENCE_THRESHOLD=-60d
readonly VOICE_PEAK_DB=-1
readonly TONE_PEAK_DB=-15

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
data_dir="$root/Data"
fixture_dir="$root/tests/clipdecoder/data"
corpus_dir="$root/tests/clipdecoder/corpus"

for tool in espeak-ng sox soxi flac awk; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "make_clips.sh: '$tool' is missing; apt-get install espeak-ng sox flac" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$data_dir" "$fixture_dir"

encode() { # encode WAV NAME: keep WAV as the fixture NAME.wav and encode it to Data/NAME.vcl
    local wav=$1 name=$2
    cp "$wav" "$fixture_dir/$name.wav"
    flac --silent --force --best --no-padding --no-seektable \
        --output-name="$data_dir/$name.vcl" "$fixture_dir/$name.wav"
}

speak() { # speak VOICE NAME WORD
    local voice=$1 name=$2 word=$3
    espeak-ng -v "$voice" -s "$SPEED" -b 1 -w "$work/raw.wav" "$word"
    # Mono 16-bit at the clip rate; cut the silence at both ends (silence, reversed, silence).
    sox -R -D "$work/raw.wav" -b 16 -c 1 -r "$RATE" "$work/trim.wav" \
        silence 1 0.002 "$SILENCE_THRESHOLD" reverse silence 1 0.002 "$SILENCE_THRESHOLD" reverse
    local length factor
    length=$(soxi -D "$work/trim.wav")
    factor=$(awk -v l="$length" -v m="$MAX_DIGIT_SECONDS" 'BEGIN { if (l > m) printf "%.4f", l / m; else print "" }')
    if [[ -n $factor ]]; then
        sox -R -D "$work/trim.wav" "$work/fast.wav" tempo -s "$factor"
        mv "$work/fast.wav" "$work/trim.wav"
    fi
    # Soft edges, then the peak level (fade needs the length, known only in a second pass).
    sox -R -D "$work/trim.wav" -b 16 "$work/$name.wav" fade h 0.005 0 0.010 norm "$VOICE_PEAK_DB"
    encode "$work/$name.wav" "$name"
    printf '%s\t%s\t%s s%s\n' "$name" "$word" "$(soxi -D "$work/$name.wav")" \
        "${factor:+ (tempo $factor)}"
}

english=(zero one two three four five six seven eight nine)
russian=(ноль один два три четыре пять шесть семь восемь девять)
for digit in 0 1 2 3 4 5 6 7 8 9; do
    speak en "${digit}en" "${english[$digit]}"
done
for digit in 0 1 2 3 4 5 6 7 8 9; do
    speak ru "${digit}ru" "${russian[$digit]}"
done

sox -R -D -n -r "$RATE" -c 1 -b 16 "$work/tone.wav" \
    synth 0.120 sine 880 fade h 0.008 0.120 0.008 gain -n "$TONE_PEAK_DB"
encode "$work/tone.wav" tone
printf '%s\t%s\t%s s\n' tone "880 Hz" "$(soxi -D "$work/tone.wav")"

# The fuzz target's corpus (tests/clipdecoder/corpus): the tone clip, and a short 8-bit stereo
# stream piped through flac, so its STREAMINFO carries no total and no MD5 ("unknown length").
mkdir -p "$corpus_dir"
cp "$data_dir/tone.vcl" "$corpus_dir/tone.vcl"
sox -R -D "$work/tone.wav" -t raw -e signed -b 8 -c 2 -r 8000 - trim 0 0.06 |
    flac --silent --force-raw-format --endian=little --sign=signed --channels=2 --bps=8 \
        --sample-rate=8000 --best --no-padding --no-seektable --stdout - \
        >"$corpus_dir/stereo8_unknown_length.vcl" 2> >(grep -v 'cannot write back' >&2)

du -ch "$data_dir"/*.vcl | tail -n 1 | sed 's/total/clips in all/'
du -ch "$fixture_dir"/*.wav | tail -n 1 | sed 's/total/fixtures in all/'
