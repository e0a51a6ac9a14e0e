#pragma once
// Synthetic recipe data files of any size, shaped like real ones: Shift-JIS
// lines of 50 fields with names, yields, repeated materials, skill levels,
// high-quality results and descriptions carrying classes, jobs and levels.
// The output depends only on the seed (the random engine's sequence is fixed
// by the standard, and no standard distribution is used), so every platform
// writes the same bytes.

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

namespace vornik {

// Appends one record line with the given id, without a line end.
void appendRecordLine(std::string& out, std::uint32_t id, std::mt19937& rng);

// One record line with the given id, without a line end.
std::string generateRecordLine(std::uint32_t id, std::mt19937& rng);

// Writes `count` records with ids 1 to count, each line ending in CR LF,
// drawing from one engine seeded with `seed`. Streams in blocks, so the size
// of the file is not limited by memory. False when the file cannot be
// created or written completely.
bool writeDataFile(const std::filesystem::path& path, std::uint32_t count, std::uint32_t seed);

} // namespace vornik
