#include "tests/support/planner_data.h"

#include "platform/sjis_literal.h"
#include "storage/record.h"
#include "tests/support/record_lines.h"

namespace vornik::test {

std::string plannerDataFile()
{
    using namespace field;
    return recordLine({ { Id, "1" }, { Name, "蒼鋼の剣"_sj }, { Material1, "蒼鋼インゴット"_sj },
               { Material1 + 1, "蒼鋼インゴット"_sj }, { Material1 + 2, "革紐"_sj }, { Crystal, "1" },
               { NeedLevel1, "30" }, { Skill, "1" }, { Rank, "2" } })
        + recordLine({ { Id, "2" }, { Name, "蒼鋼インゴット 3"_sj }, { Material1, "蒼鉱石"_sj },
            { Material1 + 1, "蒼鉱石"_sj }, { Material1 + 2, "蒼鉱石"_sj }, { Material1 + 3, "砂石"_sj },
            { Crystal, "1" }, { NeedLevel1, "20" }, { Skill, "1" }, { Rank, "1" } })
        + recordLine({ { Id, "3" }, { Name, "革紐 3"_sj }, { Material1, "なめし革"_sj }, { Crystal, "2" },
            { NeedLevel1 + 1, "12" }, { Skill, "2" }, { Rank, "1" } })
        + recordLine(
            { { Id, "4" }, { Name, "なめし革"_sj }, { Material1, "獣の皮"_sj }, { Material1 + 1, "岩塩"_sj },
                { Crystal, "2" }, { NeedLevel1 + 1, "5" }, { Skill, "2" }, { Rank, "1" } })
        + recordLine(
            { { Id, "5" }, { Name, "革紐"_sj }, { Material1, "麻糸"_sj }, { Material1 + 1, "麻糸"_sj },
                { Crystal, "2" }, { NeedLevel1 + 1, "8" }, { Skill, "2" }, { Rank, "1" } })
        + recordLine({ { Id, "6" }, { Name, "賢者の石"_sj }, { Material1, "賢者の粉"_sj },
            { Material1 + 1, "賢者の粉"_sj }, { Material1 + 2, "水晶"_sj }, { Crystal, "3" },
            { NeedLevel1 + 2, "60" }, { Skill, "3" }, { Rank, "3" } })
        + recordLine({ { Id, "7" }, { Name, "賢者の粉 4"_sj }, { Material1, "賢者の石"_sj },
            { Material1 + 1, "灰"_sj }, { Crystal, "3" }, { NeedLevel1 + 2, "55" }, { Skill, "3" },
            { Rank, "3" } });
}

} // namespace vornik::test
