#include "output/core/clipboard_text.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"
#include "storage/data_file.h"
#include "storage/formatting.h"
#include "storage/numbers.h"
#include "storage/vocabulary.h"

namespace vornik {
namespace {

// A record without a skill (name "-") is no crafted item; its crystal field
// means nothing then.
std::string crystalText(const RecipeRecord& record)
{
    if (skillName(textToInt(record.skill())).size() > 2)
        return crystalName(textToInt(record.crystal()));
    return "-";
}

std::string attributeText(const RecipeRecord& record)
{
    std::string text = record.stackable() == "1" ? "ｽﾀｯｸ可 "_sj : "ｽﾀｯｸ不可 "_sj;
    if (record.ex() == "1")
        text += ",Ex";
    if (record.rare() == "1")
        text += ",Rare";
    return text;
}

} // namespace

std::string buildClipboardText(const RecipeRecord& record)
{
    const std::string lines[] = {
        "名前："_sj + record.name(),
        "ｸﾘｽﾀﾙ："_sj + crystalText(record),
        "ｽｷﾙ："_sj + skillName(textToInt(record.skill())),
        "ﾗﾝｸ："_sj + rankName(textToInt(record.rank())),
        "必要："_sj + skillLevelSummary(LevelKind::Need, record),
        "限界："_sj + skillLevelSummary(LevelKind::Cap, record),
        "材料："_sj + materialSummary(MaterialForm::Display, record),
        "説明："_sj + sjis::replaceAll(record.description(), "<br>", ""),
        "ﾊｲｸｫﾘﾃｨ："_sj + hqSummary(record),
        "分解："_sj + record.desynth(),
        "属性："_sj + attributeText(record),
    };
    std::string text = lines[0];
    for (std::size_t i = 1; i < std::size(lines); ++i)
        text += "\r\n" + lines[i];
    return text;
}

std::optional<std::string> clipboardTextForId(const std::string& id, StorageError& error)
{
    if (!openDataFile(error))
        return std::nullopt;
    std::optional<std::string> text;
    while (readNextRecord(error)) {
        if (currentRecord().storedId() == id)
            text = buildClipboardText(currentRecord());
    }
    closeDataFile();
    if (error.failed())
        return std::nullopt;
    return text;
}

} // namespace vornik
