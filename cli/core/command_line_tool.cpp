#include "cli/core/command_line_tool.h"

#include "cli/core/cli_session.h"
#include "cli/core/console_output.h"
#include "cli/core/data_check.h"
#include "cli/core/plan_command.h"
#include "cli/core/search_command.h"
#include "platform/sjis_codec.h"
#include "storage/paths.h"

#include <ostream>

#ifndef VORNIK_VERSION
#define VORNIK_VERSION "unknown"
#endif

namespace vornik {
namespace {

using namespace cli;

constexpr std::string_view kHelp = R"(使い方: vornik [コマンド] [オプション]

コマンドなしで起動するとウィンドウが開きます（/i=名前 でその名前を検索）。

  vornik search [検索条件] [--format text|tsv|csv|json] [--encoding utf-8|cp932]
      ウィンドウと同じ検索条件・並び順・列でレシピを表示します。
      csv はウィンドウの「表示データをファイルに出力」と同じ内容です。
  vornik export --csv|--html|--ime 出力ファイル [検索条件]
      ウィンドウの CSV 出力、WEB 出力、IME 辞書テキスト出力と同じファイルを書きます。
      --ime はすべてのレシピを出力します（検索条件は指定できません）。
  vornik check [データファイル]
      データファイルとメモファイルを読むだけで調べ、問題を行番号つきで表示します。
  vornik plan 名前[×数] [名前[×数] …] [--buy 名前]… [--format text|tsv|csv|json]
      作るのに必要な素材、クリスタル、合成の順番を表示します（ウィンドウの「必要素材を計算」と同じ）。
      --buy の名前は合成せず、買う素材として数えます。

検索条件:
  --name 名前          名前に含まれる文字
  --materials          素材、説明も対象
  --exact              完全一致のみ
  --memo               メモも対象
  --skill 名前         スキル
  --rank 名前          ランク（vornik.ini にある名前）
  --crystal 名前       クリスタル（vornik.ini にある名前）
  --class 名前         分類（説明に含まれる文字）
  --job 名前           ジョブ
  --level N|N-M|N-|-M  アイテムレベル
  --all                すべてのデータ（並べ替えなし）
  --saved 名前         ウィンドウで保存した検索条件（ほかの検索条件とは併用不可）

共通のオプション:
  --data ファイル        データファイル（既定: vornik.ini の file、なければ vornik.txt）
  --program-dir フォルダ  vornik.ini を読むフォルダ（既定: プログラムのフォルダ）
  --encoding utf-8|cp932 出力の文字コード（既定: utf-8）
  --help                 この説明
  --version              バージョン

終了コード:
  search  0 一致あり、1 一致なし、2 エラー
  export  0 書き込み済み、2 エラー
  check   0 問題なし、1 問題あり、2 ファイルを読めない
  plan    0 計算済み、1 レシピのない名前あり、2 エラー
コマンドはどれもファイルを書き換えず（export の出力ファイルを除く）、画面も使いません。
)";

int runCheck(Session& session, const Options& options, std::ostream& out)
{
    if (options.checkFile) {
        const std::optional<std::string> path = session.programPath(*options.checkFile);
        if (!path)
            return kExitError;
        setDataFilePathOverride(*path);
    }
    const std::string dataPath = dataFilePath();
    const std::string memoPath = memoFilePath();
    ConsoleOutput console(out, options.encoding);
    const std::string& dataName = dataPath; // paths are UTF-8 already
    const std::string& memoName = memoPath;
    const CheckSummary summary = checkDataFile(dataPath, memoPath, [&](const CheckFinding& finding) {
        std::string line = finding.inMemoFile ? memoName : dataName;
        if (finding.line > 0)
            line += ":" + std::to_string(finding.line);
        line += ": " + finding.text + "\n";
        console.utf8(line);
    });
    if (summary.unreadable) {
        console.flush();
        session.error(summary.error);
        return kExitError;
    }
    std::string total = "データ " + std::to_string(summary.dataLines) + " 行、メモ "
        + std::to_string(summary.memoLines) + " 行を調べました: ";
    total += summary.findings == 0 ? std::string("問題はありません。\n")
                                   : std::to_string(summary.findings) + " 件の問題があります。\n";
    console.utf8(total);
    if (!console.flush())
        return kExitError;
    return summary.findings == 0 ? kExitFound : kExitNone;
}

} // namespace

bool isCommandLineRequest(const std::vector<std::string>& arguments)
{
    return commandOf(arguments) != Command::Window;
}

int runCommandLine(const std::vector<std::string>& arguments, const std::string& programDir,
    std::ostream& out, std::ostream& err)
{
    const ParsedOptions parsed = parseOptions(arguments);
    const Options& options = parsed.options;
    if (options.command == Command::Help) {
        out << kHelp;
        out.flush();
        return out ? kExitFound : kExitError;
    }
    if (options.command == Command::Version) {
        out << "vornik " << VORNIK_VERSION << '\n';
        out.flush();
        return out ? kExitFound : kExitError;
    }
    Session session(options, err);
    if (!parsed.error.empty()) {
        session.error(parsed.error + "\n使い方は vornik --help で表示されます。");
        return kExitError;
    }
    if (!session.open(programDir))
        return kExitError;
    switch (options.command) {
    case Command::Search:
        return runSearch(session, options, out);
    case Command::Export:
        return runExport(session, options);
    case Command::Check:
        return runCheck(session, options, out);
    case Command::Plan:
        return runPlan(session, options, out);
    case Command::Window:
    case Command::Help:
    case Command::Version:
        break;
    }
    return kExitError;
}

std::string noDisplayMessage()
{
    return "vornik: 画面（ディスプレイ）に接続できないため、ウィンドウを開けません。\n"
           "DISPLAY または WAYLAND_DISPLAY を設定してください。画面なしで使うには vornik --help "
           "をご覧ください。\n"
           "vornik: cannot open the window: no display is available (set DISPLAY or WAYLAND_DISPLAY).\n"
           "Without a display, use the command line: vornik --help\n";
}

} // namespace vornik
