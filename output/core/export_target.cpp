#include "output/core/export_target.h"

#include "platform/file_identity.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/paths.h"
#include "storage/profile.h"

namespace vornik {

std::vector<OwnFile> ownLiveFiles()
{
    return {
        { dataFilePath(), "データファイル"_sj },
        { memoFilePath(), "メモファイル"_sj },
        { settingsFilePath(), "設定ファイル"_sj },
        { programFilePath("vornik.dat"), "アイテム辞書"_sj },
        { programFilePath("memo.txt"), "メモ帳"_sj },
        { storageLockPath(), "ロックファイル"_sj },
        { programFilePath("temp.dat"), "一時ファイル"_sj },
        { programFilePath("temp2.dat"), "一時ファイル"_sj },
    };
}

std::string ownFileRefusal(const std::string& path)
{
    for (const OwnFile& own : ownLiveFiles()) {
        if (isSameFile(path, own.path)) {
            return "このファイルはVornikの"_sj + own.role + "のため、出力先にできません。"_sj + "\n" + path
                + "\n" + "別のファイル名を指定してください。"_sj;
        }
    }
    return {};
}

} // namespace vornik
