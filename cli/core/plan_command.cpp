#include "cli/core/plan_command.h"

#include "app/core/craft_plan.h"
#include "app/core/craft_plan_table.h"
#include "cli/core/table_output.h"
#include "platform/sjis_codec.h"

#include <optional>
#include <vector>

namespace vornik::cli {
namespace {

// A typed name in Shift-JIS; nothing (after telling the user) when
// Shift-JIS cannot hold it, which would plan another item.
std::optional<std::string> sjisName(Session& session, const std::string& typed)
{
    std::string text = utf8ToSjis(typed);
    if (sjisToUtf8(text) != typed) {
        session.error("Shift-JIS で書けない文字が含まれています: " + typed);
        return std::nullopt;
    }
    return text;
}

} // namespace

int runPlan(Session& session, const Options& options, std::ostream& out)
{
    std::vector<WantedItem> wanted;
    for (const std::string& typed : options.planItems) {
        const std::optional<std::string> line = sjisName(session, typed);
        if (!line)
            return kExitError;
        const std::optional<WantedItem> item = parseWantedLine(*line);
        if (!item) {
            session.error("作る数は 1 以上を指定してください: " + typed);
            return kExitError;
        }
        wanted.push_back(*item);
    }
    PlanChoices choices;
    for (const std::string& typed : options.buyItems) {
        const std::optional<std::string> name = sjisName(session, typed);
        if (!name)
            return kExitError;
        choices.buy.insert(*name);
    }
    StorageError error;
    const std::shared_ptr<const CraftIndex> index = currentCraftIndex(error);
    if (!index) {
        if (!session.reportOpenError())
            session.errorSjis(error.text);
        return kExitError;
    }
    const Plan plan = makePlan(*index, choices, wanted);
    const PlanTable table = planTotalsTable(plan);
    ConsoleOutput console(out, options.encoding);
    writeTable(console, table.view(), options.format);
    if (!console.flush())
        return kExitError;
    return plan.unknown.empty() ? kExitFound : kExitNone;
}

} // namespace vornik::cli
