#pragma once
// What the user asked for, read from the main window's controls at the start
// of every scan.

#include <string>

namespace vornik {

// The controls' texts as typed or chosen (Shift-JIS).
struct SearchInputs {
    std::string name;
    std::string skill;
    std::string rank;
    std::string itemClass;
    std::string crystal;
    std::string job;
    std::string levelFrom;
    std::string levelTo;
    bool includeMaterials = false;
    bool exactOnly = false;
    bool includeMemo = false;
};

struct SearchCriteria {
    std::string nameQuery;
    std::string skillQuery;
    int rankIndex = 0;
    std::string classQuery;
    int crystalIndex = 0;
    std::string jobQuery;
    int levelFrom = -1; // -1: no bound
    int levelTo = -1;
    bool includeMaterials = false;
    bool exactOnly = false;
    // The name query also looks at each record's memo (memo file).
    bool includeMemo = false;
};

// False when every text is empty: the two check boxes are no criterion.
bool hasAnyCriterion(const SearchInputs& inputs);

// Vocabulary names become indexes; a job name longer than 3 bytes is cut to
// its first character (the abbreviation used in item descriptions); an empty
// level box is no bound, any other text reads its leading digits.
SearchCriteria readCriteria(const SearchInputs& inputs);

} // namespace vornik
