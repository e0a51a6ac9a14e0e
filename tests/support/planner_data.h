#pragma once
// A small hand-made data file for the crafting planner: a sword made from
// ingots (made 3 at a time) and straps (two records make straps), the
// straps from leather; a stone and a powder that need each other; and raw
// materials no record makes.

#include <string>

namespace vornik::test {

// The file's bytes (Shift-JIS, CR LF).
std::string plannerDataFile();

} // namespace vornik::test
