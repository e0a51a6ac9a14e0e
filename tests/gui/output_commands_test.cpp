// The output and outside-link commands as the main window runs them, with a
// stand-in main window and the desktop replaced by the scripted platform
// layer: what each dialog is asked for, what lands in the files, on the
// clipboard and in the settings, and what is opened or started.

#include "output/clipboard_command.h"
#include "output/core/clipboard_text.h"
#include "output/core/outside_addresses.h"
#include "output/core/outside_links.h"
#include "output/data_file_commands.h"
#include "output/export_commands.h"
#include "output/link_commands.h"
#include "platform/native_path.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/scripted_platform_services.h"
#include "platform/sjis_literal.h"
#include "storage/data_file.h"
#include "storage/field_codec.h"
#include "storage/paths.h"
#include "storage/profile.h"
#include "storage/vocabulary.h"
#include "tests/core/fault_injection.h"
#include "tests/support/temp_program_dir.h"
#include "ui/main_window_access.h"

#include <QWidget>
#include <QtTest>

#include <filesystem>
#include <memory>

using namespace vornik;
using vornik::test::FaultInjector;
using vornik::test::readFileBytes;
using vornik::test::ScopedFileOps;
using vornik::test::TempProgramDir;
using vornik::test::writeFileBytes;

namespace {

class FakeMainWindow : public MainWindowAccess {
public:
    QWidget* window() override { return &m_widget; }
    std::optional<std::string> selectedRecordId() const override { return selectedId; }
    std::string currentItemName() const override { return itemName; }
    const std::vector<std::string>& columnHeadings() const override { return headings; }
    RowRange shownRows() const override { return rows; }
    SearchInputs searchInputs() const override { return inputs; }
    void removeRowsWithId(const std::string&) override { }
    void SetStatusText(const std::string&) override { }
    void LaunchSearchInstance(const std::string&) override { }
    // The caption is built from the setting, so the test keeps what the
    // setting said at that moment.
    void updateCaption() override { captions.push_back(dataFilePath()); }

    std::optional<std::string> selectedId;
    std::string itemName;
    std::vector<std::string> headings;
    std::vector<ResultRow> rows;
    SearchInputs inputs;
    std::vector<std::string> captions;

private:
    QWidget m_widget;
};

QString qPath(const std::string& path)
{
    return QString::fromStdString(path);
}

FileDialogResult chosen(const std::string& path, int filterIndex = 0)
{
    return FileDialogResult { qPath(path), filterIndex };
}

// The dialog parameters in one line, so a mismatch shows them all.
QString describe(const FileDialogRequest& d, const QWidget* owner)
{
    return QStringList { d.title, d.filters, d.initialName, d.defaultExtension,
        d.initialFolder == qPath(programDir()) ? QStringLiteral("program folder") : d.initialFolder,
        d.confirmOverwrite ? QStringLiteral("asks") : QStringLiteral("overwrites"),
        d.parent == owner ? QStringLiteral("owned") : QStringLiteral("not owned") }
        .join(QLatin1Char('|'));
}

// Message boxes shown while the busy cursor was still on.
int messagesUnderBusyCursor(const std::vector<PlatformCall>& calls)
{
    int depth = 0;
    int count = 0;
    for (const PlatformCall& call : calls) {
        if (call.kind == PlatformCallKind::BeginBusy)
            ++depth;
        else if (call.kind == PlatformCallKind::EndBusy)
            --depth;
        else if (call.kind == PlatformCallKind::MessageBox && depth > 0)
            ++count;
    }
    return count;
}

RecipeRecord recipe(const std::string& id, const std::string& name, const std::string& desynth)
{
    RecipeRecord r;
    r.id() = id;
    r.name() = name;
    r.material(1) = "鉄塊"_sj;
    r.material(2) = "鉄塊"_sj;
    r.material(3) = "木材"_sj;
    r.crystal() = "1";
    r.skillUsed(1) = "1";
    r.needLevel(1) = "10";
    r.capLevel(1) = "20";
    r.skill() = "1";
    r.rank() = "3";
    r.description() = "よく切れる。"_sj;
    r.desynth() = desynth;
    r.stackable() = "1";
    r.ex() = "0";
    r.rare() = "0";
    return r;
}

std::string dataLine(const RecipeRecord& record)
{
    return joinFields(record) + "\r\n";
}

} // namespace

class OutputCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<TempProgramDir>();
        m_platform = std::make_unique<ScopedScriptedPlatform>();
        m_window = std::make_unique<FakeMainWindow>();
        m_window->headings = { "名前"_sj, "ﾗﾝｸ"_sj, "材料"_sj };
        m_window->rows = { ResultRow { "1", 0, { "鉄の剣"_sj, "見習い"_sj, "鉄塊, 木材"_sj } },
            ResultRow { "2", 0, { "銅の盾②"_sj, "", "銅塊"_sj } } };
        skillVocabulary().clear();
        skillVocabulary().set(1, "鍛冶"_sj);
        crystalVocabulary().clear();
        crystalVocabulary().set(1, "炎"_sj);
        rankVocabulary().clear();
        rankVocabulary().set(3, "徒弟"_sj);
        imeVocabulary().clear();
        imeVocabulary().set(1, "＠かじ"_sj);
        m_openErrors.clear();
        setOpenErrorHandler([this](const std::string& path) { m_openErrors.push_back(path); });
    }

    void cleanup()
    {
        setOpenErrorHandler({});
        m_window.reset();
        m_platform.reset();
        m_dir.reset();
    }

    void tableExportAsksWithTheExportDialogAndWritesCsv()
    {
        const std::string path = m_dir->file("list.csv");
        services().queueFileName(chosen(path));
        services().queueMessageAnswer(MessageAnswer::No);

        QVERIFY(exportDisplayedData(*m_window));

        const auto dialogs = services().callsOf(PlatformCallKind::SaveFileName);
        QCOMPARE(dialogs.size(), std::size_t(1));
        const FileDialogRequest& dialog = dialogs[0].fileDialog;
        QCOMPARE(describe(dialog, m_window->window()),
            QStringLiteral("表示データを出力|CSV形式(*.csv)|*.csv|Web形式(*.htm,*.html)|*.htm|||*.csv|csv|"
                           "program folder|asks|owned"));

        QCOMPARE(
            readFileBytes(path), "名前,ﾗﾝｸ,材料\r\n鉄の剣,見習い,\"鉄塊, 木材\"\r\n銅の盾(2),,銅塊\r\n"_sj);

        const auto prompts = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(prompts.size(), std::size_t(1));
        const MessageBoxRequest& prompt = prompts[0].message;
        QVERIFY(prompt.parent == nullptr);
        QCOMPARE(prompt.caption, QStringLiteral("表示データを出力"));
        QCOMPARE(prompt.text,
            QStringLiteral("正常に保存が終了しました。出力したファイルを開きますか？\nファイル:")
                + qPath(path));
        QCOMPARE(prompt.icon, MessageIcon::Question);
        QCOMPARE(prompt.buttons, MessageButtons::YesNo);
        QVERIFY(services().callsOf(PlatformCallKind::OpenWithShell).empty());
        QCOMPARE(services().busyDepth(), 0);
        QCOMPARE(messagesUnderBusyCursor(services().calls()), 0);
        QVERIFY(!services().callsOf(PlatformCallKind::BeginBusy).empty());
    }

    void answeringYesOpensTheWrittenFile()
    {
        const std::string path = m_dir->file("list.csv");
        services().queueFileName(chosen(path));
        services().queueMessageAnswer(MessageAnswer::Yes);

        QVERIFY(exportDisplayedData(*m_window));

        const auto opened = services().callsOf(PlatformCallKind::OpenWithShell);
        QCOMPARE(opened.size(), std::size_t(1));
        QCOMPARE(opened[0].target, qPath(path));
    }

    void tableExportChoosesTheFormatByExtension()
    {
        m_window->inputs.name = "鉄"_sj;
        m_window->inputs.itemClass = "片手剣"_sj;

        const std::string upperCsv = m_dir->file("LIST.CSV");
        const std::string page = m_dir->file("list.htm");
        const std::string text = m_dir->file("list.txt");
        for (const std::string& path : { upperCsv, page, text }) {
            services().queueFileName(chosen(path));
            services().queueMessageAnswer(MessageAnswer::No);
            QVERIFY(exportDisplayedData(*m_window));
        }

        QVERIFY(readFileBytes(upperCsv).starts_with("名前,ﾗﾝｸ,材料\r\n"_sj));
        for (const std::string& path : { page, text }) {
            const std::string html = readFileBytes(path);
            QVERIFY(html.starts_with("<HTML LANG=\"ja\">\r\n"));
            QVERIFY(
                html.find("<FONT size=\"-1\">"_sj + "[検索条件]　鉄 片手剣</FONT>"_sj) != std::string::npos);
            QVERIFY(html.ends_with("</HTML>"));
        }
    }

    void webExportAlwaysWritesThePage()
    {
        const std::string path = m_dir->file("page.csv");
        services().queueFileName(chosen(path));
        services().queueMessageAnswer(MessageAnswer::No);

        QVERIFY(exportWebPage(*m_window));

        const FileDialogRequest dialog = services().callsOf(PlatformCallKind::SaveFileName)[0].fileDialog;
        QCOMPARE(describe(dialog, m_window->window()),
            QStringLiteral(
                "WEB形式で出力|Web形式(*.htm,*.html)|*.htm|||*.htm|htm|program folder|asks|owned"));

        const std::string html = readFileBytes(path);
        QVERIFY(html.starts_with("<HTML LANG=\"ja\">\r\n"));
        QVERIFY(html.find("<FONT size=\"-1\"></FONT>") != std::string::npos);
        const auto prompts = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(prompts.size(), std::size_t(1));
        QCOMPARE(prompts[0].message.caption, QStringLiteral("表示データを出力"));
    }

    void cancellingAnExportWritesNothing()
    {
        const std::string path = m_dir->file("old.csv");
        writeFileBytes(path, "keep me");
        services().queueFileName(std::nullopt);
        services().queueFileName(std::nullopt);
        services().queueFileName(std::nullopt);

        QVERIFY(!exportDisplayedData(*m_window));
        QVERIFY(!exportWebPage(*m_window));
        exportImeDictionary(*m_window);

        QCOMPARE(readFileBytes(path), std::string("keep me"));
        QVERIFY(services().callsOf(PlatformCallKind::MessageBox).empty());
        QVERIFY(services().callsOf(PlatformCallKind::BeginBusy).empty());
        QVERIFY(m_openErrors.empty());
    }

    void failedExportIsReportedWithoutTheSuccessPrompt()
    {
        const std::string csv = m_dir->file("no-such-folder/list.csv");
        const std::string htm = m_dir->file("no-such-folder/list.htm");
        services().queueFileName(chosen(csv));
        services().queueFileName(chosen(htm));

        QVERIFY(!exportDisplayedData(*m_window));
        QVERIFY(!exportWebPage(*m_window));

        const auto messages = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(messages.size(), std::size_t(2));
        for (std::size_t i = 0; i < messages.size(); ++i) {
            const MessageBoxRequest& message = messages[i].message;
            QCOMPARE(message.icon, MessageIcon::Error);
            QCOMPARE(message.buttons, MessageButtons::Ok);
            QCOMPARE(message.parent, m_window->window());
            QVERIFY(message.text.contains(qPath(i == 0 ? csv : htm)));
        }
        QVERIFY(services().callsOf(PlatformCallKind::OpenWithShell).empty());
        QCOMPARE(services().busyDepth(), 0);
        QCOMPARE(messagesUnderBusyCursor(services().calls()), 0);
    }

    void namesShiftJisCannotHoldAreKeptOrRefused()
    {
        // An export goes to exactly the chosen file.
        const std::string path = m_dir->file("list") + "\xF0\x9F\x8D\x99.csv"; // a rice-ball emoji
        services().queueFileName(chosen(path));
        QVERIFY(exportDisplayedData(*m_window));
        QVERIFY(readFileBytes(nativePath(path)).starts_with("名前,"_sj));

        // A data file whose path vornik.ini cannot hold is refused, not
        // stored as another path.
        const std::string current = dataFilePath();
        services().clearCalls();
        services().queueFileName(chosen(m_dir->file("\xF0\x9F\x8D\x99.txt")));
        openDataFileCommand(*m_window);
        const auto messages = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(messages.size(), std::size_t(1));
        QVERIFY(messages[0].message.text.contains(QStringLiteral("設定ファイルに書けない文字")));
        QCOMPARE(dataFilePath(), current);
        QVERIFY(m_window->captions.empty());
    }

    void imeExportWritesEveryRecipeWithMaterials()
    {
        RecipeRecord sword = recipe("1", "鉄の剣"_sj, "");
        RecipeRecord bare = recipe("2", "空箱"_sj, "");
        for (int slot = 1; slot <= kMaterialSlots; ++slot)
            bare.material(slot).clear();
        writeFileBytes(dataFilePath(), dataLine(sword) + dataLine(bare));
        const std::string path = m_dir->file("dict.txt");
        services().queueFileName(chosen(path));

        exportImeDictionary(*m_window);

        const FileDialogRequest dialog = services().callsOf(PlatformCallKind::SaveFileName)[0].fileDialog;
        QCOMPARE(describe(dialog, m_window->window()),
            QStringLiteral("IME辞書を出力|テキスト形式(*.txt)|*.txt|||*.txt|txt|program folder|asks|owned"));

        QCOMPARE(readFileBytes(path),
            "＠かじ\t鉄の剣炎鉄塊2木材1\t顔文字\t【ユーザー】\r\n"_sj
                + "＠かじ3\t鉄の剣炎鉄塊2木材1\t顔文字\t【ユーザー】\r\n"_sj);

        const auto messages = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(messages.size(), std::size_t(1));
        const MessageBoxRequest& done = messages[0].message;
        QCOMPARE(done.parent, m_window->window());
        QCOMPARE(done.caption, QStringLiteral("IME辞書出力"));
        QCOMPARE(done.text, QStringLiteral("正常に保存が終了しました。\n") + qPath(path));
        QCOMPARE(done.icon, MessageIcon::Information);
        QCOMPARE(done.buttons, MessageButtons::Ok);
        QCOMPARE(services().busyDepth(), 0);
        QCOMPARE(messagesUnderBusyCursor(services().calls()), 0);
    }

    void imeExportFailuresAreReported()
    {
        // No data file: the open error, then the export's own message; an
        // earlier dictionary stays as it was.
        const std::string path = m_dir->file("dict.txt");
        writeFileBytes(path, "earlier");
        services().queueFileName(chosen(path));
        exportImeDictionary(*m_window);
        QCOMPARE(m_openErrors.size(), std::size_t(1));
        QCOMPARE(readFileBytes(path), std::string("earlier"));

        // A dictionary that cannot be created: the (still missing) data file
        // is not even opened.
        services().queueFileName(chosen(m_dir->file("no-such-folder/dict.txt")));
        exportImeDictionary(*m_window);
        QCOMPARE(m_openErrors.size(), std::size_t(1));

        const auto messages = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(messages.size(), std::size_t(2));
        QCOMPARE(messages[0].message.caption, QStringLiteral("エラー"));
        QCOMPARE(messages[0].message.text, QStringLiteral("データファイルが開けませんでした。"));
        QCOMPARE(messages[0].message.icon, MessageIcon::Warning);
        QCOMPARE(messages[0].message.parent, m_window->window());
        QCOMPARE(messages[1].message.caption, QStringLiteral("エラー"));
        QVERIFY(messages[1].message.text.startsWith(QStringLiteral("辞書ファイルの作成に失敗しました。\n")));
        QVERIFY(messages[1].message.text.contains(QStringLiteral("no-such-folder")));
        QCOMPARE(messages[1].message.icon, MessageIcon::Warning);
        QCOMPARE(services().busyDepth(), 0);
    }

    void clipboardGetsTheLastRecordWithTheSelectedId()
    {
        const RecipeRecord first = recipe("5", "鉄の剣"_sj, "鉄塊 1"_sj);
        const RecipeRecord other = recipe("6", "銅の剣"_sj, "銅塊 1"_sj);
        const RecipeRecord last = recipe("5", "鋼の剣"_sj, "鋼塊 2"_sj);
        writeFileBytes(dataFilePath(), dataLine(first) + dataLine(other) + dataLine(last));
        m_window->selectedId = "5";

        copyRecordToClipboard(*m_window);

        const auto set = services().callsOf(PlatformCallKind::SetClipboardText);
        QCOMPARE(set.size(), std::size_t(1));
        const QString text = set[0].clipboardText;
        QVERIFY(text.startsWith(QStringLiteral("名前：鋼の剣\r\nｸﾘｽﾀﾙ：炎\r\nｽｷﾙ：鍛冶\r\nﾗﾝｸ：徒弟\r\n")));
        QVERIFY(text.contains(QStringLiteral("\r\n分解：鋼塊 2\r\n")));
        QVERIFY(text.endsWith(QStringLiteral("属性：ｽﾀｯｸ可 ")));
        QCOMPARE(text, fromSjis(buildClipboardText(last)));
        QCOMPARE(services().busyDepth(), 0);
    }

    void clipboardIsLeftAloneWithoutASelectionOrAMatch()
    {
        writeFileBytes(dataFilePath(), dataLine(recipe("5", "鉄の剣"_sj, "")));

        copyRecordToClipboard(*m_window); // no selection
        m_window->selectedId = "9"; // not in the file
        copyRecordToClipboard(*m_window);
        std::filesystem::remove(dataFilePath());
        copyRecordToClipboard(*m_window); // no file

        QVERIFY(services().callsOf(PlatformCallKind::SetClipboardText).empty());
        QCOMPARE(m_openErrors.size(), std::size_t(1));
        // Only the record that is not there is told of; the handler speaks of the file.
        const auto told = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(told.size(), std::size_t(1));
        QCOMPARE(told[0].message.caption, QStringLiteral("検索エラー"));
        QCOMPARE(services().busyDepth(), 0);
    }

    void clipboardIsLeftAloneWhenTheFileFailsPartWay()
    {
        writeFileBytes(dataFilePath(), dataLine(recipe("5", "鉄の剣"_sj, "")));
        m_window->selectedId = "5";
        FaultInjector injector(2); // the open succeeds, the first read fails
        {
            ScopedFileOps failing(injector);
            copyRecordToClipboard(*m_window);
        }
        QCOMPARE(injector.failedCall(), std::string("read"));

        QVERIFY(services().callsOf(PlatformCallKind::SetClipboardText).empty());
        const auto messages = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(messages.size(), std::size_t(1));
        QVERIFY(messages[0].message.text.contains(qPath(dataFilePath())));
        QCOMPARE(messagesUnderBusyCursor(services().calls()), 0);
    }

    void exportFailingAtAnyStepIsNeverReportedAsSuccess()
    {
        const std::string path = m_dir->file("list.csv");
        for (int step = 1;; ++step) {
            services().clearCalls();
            services().queueFileName(chosen(path));
            FaultInjector injector(step);
            bool written = false;
            {
                ScopedFileOps failing(injector);
                written = exportDisplayedData(*m_window);
            }
            const auto messages = services().callsOf(PlatformCallKind::MessageBox);
            QCOMPARE(messages.size(), std::size_t(1));
            // After the rename the new file is in place: a folder that
            // cannot be flushed is no failed export.
            if (!injector.fired() || injector.failedCall() == "syncFolder") {
                QVERIFY(written);
                QCOMPARE(messages[0].message.icon, MessageIcon::Question);
                if (!injector.fired())
                    break;
                continue;
            }
            QVERIFY2(!written, injector.failedCall().c_str());
            QCOMPARE(messages[0].message.icon, MessageIcon::Error);
            QVERIFY(messages[0].message.text.contains(qPath(path)));
        }
    }

    void searchesOpenTheEncodedAddresses()
    {
        m_window->itemName = "鉄の剣"_sj; // 93 53  82 CC  8C 95
        const QString encoded = QStringLiteral("%93%53%82%cc%8c%95");

        searchKestreloCommand(*m_window);
        searchOpenVornikCommand(*m_window);
        shopSearchCommand(*m_window);
        searchOpenVornikFor("あ"_sj); // EUC-JP A4 A2
        searchOpenVornikFor("");
        shopSearchFor("");
        searchKestreloFor("Iron Ore-2");

        const QString kestrelo = QString::fromLatin1(address::kKestreloBase);
        const QString openVornik = QString::fromLatin1(address::kOpenVornikSearch);
        const QString shop = QString::fromLatin1(address::kShopSearchScript);
        const auto opened = services().callsOf(PlatformCallKind::OpenWithShell);
        QCOMPARE(opened.size(), std::size_t(7));
        QCOMPARE(opened[0].target, kestrelo + QStringLiteral("search.php?itemName=") + encoded);
        QCOMPARE(opened[1].target, openVornik + QStringLiteral("?word=%c5%b4%a4%ce%b7%f5"));
        QCOMPARE(opened[2].target,
            shop + QStringLiteral("?itemname=") + encoded + QStringLiteral("&prg=VornikWin"));
        QCOMPARE(opened[3].target, openVornik + QStringLiteral("?word=%a4%a2"));
        QCOMPARE(opened[4].target, openVornik);
        QCOMPARE(opened[5].target, shop + QStringLiteral("?itemname=&prg=VornikWin"));
        QCOMPARE(opened[6].target, kestrelo + QStringLiteral("search.php?itemName=Iron+Ore%2d2"));
        QVERIFY(services().callsOf(PlatformCallKind::StartDetached).empty());
    }

    void shopSearchStartsTheToolWhenChosen()
    {
        QVERIFY(writeIniInt("window", "shop", 1));
        m_window->itemName = "鉄の剣"_sj;

        shopSearchCommand(*m_window); // default tool path
        const std::string toolPath = m_dir->file("shop tool/ss.exe");
        QVERIFY(writeIniString("window", "shoppath", toolPath));
        shopSearchFor("銅塊"_sj);
        shopSearchFor("");
        shopSearchFor("-x");

        const auto started = services().callsOf(PlatformCallKind::StartDetached);
        QCOMPARE(started.size(), std::size_t(4));
        QCOMPARE(started[0].program, qPath(programFilePath(kShopToolName)));
        QCOMPARE(started[0].arguments, QStringList { QStringLiteral("鉄の剣") });
        QCOMPARE(started[1].program, qPath(toolPath));
        QCOMPARE(started[1].arguments, QStringList { QStringLiteral("銅塊") });
        QCOMPARE(started[2].arguments, QStringList());
        QCOMPARE(started[3].arguments, (QStringList { QStringLiteral("--"), QStringLiteral("-x") }));
        QVERIFY(services().callsOf(PlatformCallKind::OpenWithShell).empty());
    }

    void helpLinksOpenTheirPages()
    {
        const HelpLink links[] = { HelpLink::HomePage, HelpLink::EquipmentList, HelpLink::DeliveryQuestNotes,
            HelpLink::ShopSearchTop, HelpLink::KestreloTop, HelpLink::CraftingBoard,
            HelpLink::RecipeUpdateBoard, HelpLink::FaultReports };
        for (HelpLink link : links)
            openHelpLink(link);

        const auto opened = services().callsOf(PlatformCallKind::OpenWithShell);
        QCOMPARE(opened.size(), std::size_t(8));
        QCOMPARE(opened[0].target, QString::fromLatin1(address::kHomePage));
        QCOMPARE(opened[3].target, QString::fromLatin1(address::kShopSearchTop));
        QCOMPARE(opened[4].target, QString::fromLatin1(address::kKestreloBase));
        QSet<QString> distinct;
        for (const PlatformCall& call : opened)
            distinct.insert(call.target);
        QCOMPARE(distinct.size(), 8);
    }

    void openSwitchesSettingAndCaption()
    {
        const std::string other = m_dir->file("other.txt");
        services().queueFileName(std::nullopt);
        openDataFileCommand(*m_window);
        QVERIFY(m_window->captions.empty());
        QCOMPARE(dataFilePath(), programFilePath("vornik.txt"));

        services().queueFileName(chosen(other));
        openDataFileCommand(*m_window);

        const auto dialogs = services().callsOf(PlatformCallKind::OpenFileName);
        QCOMPARE(dialogs.size(), std::size_t(2));
        const FileDialogRequest& dialog = dialogs[1].fileDialog;
        QCOMPARE(describe(dialog, m_window->window()),
            QStringLiteral("ファイルを開く|Vornik形式(*.txt)|*.txt|||*.txt|txt|program folder|asks|owned"));
        QVERIFY(!dialog.mustExist);

        // The file need not exist: the switch is only a setting.
        QVERIFY(!std::filesystem::exists(other));
        QCOMPARE(readIniString("system", "file", ""), other);
        QCOMPARE(m_window->captions, std::vector<std::string> { other });
        QVERIFY(services().callsOf(PlatformCallKind::MessageBox).empty());
        QCOMPARE(services().busyDepth(), 0);

        // Names that the settings file would otherwise trim or unquote.
        for (const std::string& exact : { m_dir->file("data "), m_dir->file("\"q\""), m_dir->file("x\t") }) {
            services().queueFileName(chosen(exact));
            openDataFileCommand(*m_window);
            QCOMPARE(dataFilePath(), exact);
            QCOMPARE(m_window->captions.back(), exact);
        }
    }

    void saveAsCopiesAndSwitches()
    {
        const std::string content = dataLine(recipe("1", "鉄の剣"_sj, ""));
        writeFileBytes(dataFilePath(), content);
        const std::string target = m_dir->file("copy.txt");
        writeFileBytes(target, "old content\r\n");
        services().queueFileName(chosen(target));

        saveDataFileAs(*m_window);

        const FileDialogRequest dialog = services().callsOf(PlatformCallKind::SaveFileName)[0].fileDialog;
        QCOMPARE(describe(dialog, m_window->window()),
            QStringLiteral("名前をつけて保存|Vornik形式(*.txt)|*.txt|||*.txt|txt|program folder|asks|owned"));

        QCOMPARE(readFileBytes(target), content);
        QCOMPARE(readFileBytes(m_dir->file("vornik.txt")), content);
        QCOMPARE(readIniString("system", "file", ""), target);
        QCOMPARE(m_window->captions, std::vector<std::string> { target });
        QVERIFY(!std::filesystem::exists(m_dir->file("copy_memo.txt")));
        QVERIFY(services().callsOf(PlatformCallKind::MessageBox).empty());
        QCOMPARE(services().busyDepth(), 0);
    }

    void saveAsOntoTheCurrentFileKeepsIt()
    {
        const std::string content = dataLine(recipe("1", "鉄の剣"_sj, ""));
        const std::string current = m_dir->file("data.txt");
        writeFileBytes(current, content);
        QVERIFY(writeIniString("system", "file", current));
        // The same file under another spelling of its path.
        services().queueFileName(chosen(m_dir->file("./data.txt")));

        saveDataFileAs(*m_window);

        QCOMPARE(readFileBytes(current), content);
        QVERIFY(services().callsOf(PlatformCallKind::MessageBox).empty());
        QCOMPARE(m_window->captions.size(), std::size_t(1));
    }

    void failedSaveAsStaysOnTheOldFile()
    {
        // No data file to copy, then a target folder that does not exist.
        const std::string current = dataFilePath();
        services().queueFileName(chosen(m_dir->file("copy.txt")));
        saveDataFileAs(*m_window);
        writeFileBytes(current, dataLine(recipe("1", "鉄の剣"_sj, "")));
        const std::string unreachable = m_dir->file("no-such-folder/copy.txt");
        services().queueFileName(chosen(unreachable));
        saveDataFileAs(*m_window);

        QVERIFY(!std::filesystem::exists(m_dir->file("copy.txt")));
        QCOMPARE(dataFilePath(), current);
        QVERIFY(m_window->captions.empty());
        const auto messages = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(messages.size(), std::size_t(2));
        QVERIFY(messages[0].message.text.contains(qPath(current)));
        QVERIFY(messages[1].message.text.contains(qPath(unreachable)));
        for (const PlatformCall& message : messages) {
            QCOMPARE(message.message.icon, MessageIcon::Error);
            QCOMPARE(message.message.parent, m_window->window());
        }
        QCOMPARE(messagesUnderBusyCursor(services().calls()), 0);
        QCOMPARE(services().busyDepth(), 0);
    }

    void saveAsFailingAtAnyStepLosesNothing()
    {
        const std::string content = dataLine(recipe("1", "鉄の剣"_sj, ""));
        const std::string current = dataFilePath();
        writeFileBytes(current, content);
        const std::string target = m_dir->file("copy.txt");
        for (int step = 1;; ++step) {
            QVERIFY(writeIniString("system", "file", current));
            writeFileBytes(target, "old content\r\n");
            m_window->captions.clear();
            services().clearCalls();
            services().queueFileName(chosen(target));
            FaultInjector injector(step);
            {
                ScopedFileOps failing(injector);
                saveDataFileAs(*m_window);
            }
            const std::string copied = readFileBytes(target);
            QVERIFY(copied == content || copied == "old content\r\n");
            QCOMPARE(readFileBytes(current), content);
            // Either a complete switch to a complete copy, or a message and
            // the old file still in force; never a silent half.
            const auto messages = services().callsOf(PlatformCallKind::MessageBox);
            if (messages.empty()) {
                QVERIFY2(copied == content, injector.failedCall().c_str());
                QCOMPARE(dataFilePath(), target);
                QCOMPARE(m_window->captions, std::vector<std::string> { target });
            } else {
                QCOMPARE(messages.size(), std::size_t(1));
                QCOMPARE(dataFilePath(), current);
                QVERIFY(m_window->captions.empty());
            }
            if (!injector.fired()) {
                QVERIFY(messages.empty());
                break;
            }
        }
        // Nothing of the failed attempts is left beside the copy.
        std::size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir->path()))
            files += entry.path().extension() != ".lock";
        QCOMPARE(files, std::size_t(3)); // vornik.txt, copy.txt, vornik.ini (and the lock files)
    }

    void exportsAndSaveAsRefuseTheProgramsOwnFiles()
    {
        // The dictionary export onto the data file (the save dialog opens in
        // the program folder and lists it) used to leave it empty.
        const std::string recipes = dataLine(recipe("1", "鉄の剣"_sj, ""));
        writeFileBytes(dataFilePath(), recipes);
        QVERIFY(writeIniString("window", "shop", "0"));
        const std::string settings = readFileBytes(settingsFilePath());
        writeFileBytes(m_dir->file("memo.txt"), "pad");

        services().queueFileName(chosen(dataFilePath()));
        exportImeDictionary(*m_window);
        services().queueFileName(chosen(m_dir->file("./vornik.ini")));
        QVERIFY(!exportDisplayedData(*m_window));
        services().queueFileName(chosen(m_dir->file("memo.txt")));
        saveDataFileAs(*m_window);

        QCOMPARE(readFileBytes(dataFilePath()), recipes);
        QCOMPARE(readFileBytes(settingsFilePath()), settings);
        QCOMPARE(readFileBytes(m_dir->file("memo.txt")), std::string("pad"));
        QCOMPARE(dataFilePath(), m_dir->file("vornik.txt"));
        const auto messages = services().callsOf(PlatformCallKind::MessageBox);
        QCOMPARE(messages.size(), std::size_t(3));
        for (const PlatformCall& message : messages) {
            QCOMPARE(message.message.icon, MessageIcon::Error);
            QVERIFY2(message.message.text.contains(QStringLiteral("出力先にできません")),
                qPrintable(message.message.text));
        }
        QVERIFY(messages[0].message.text.contains(QStringLiteral("データファイル")));
        QVERIFY(messages[1].message.text.contains(QStringLiteral("設定ファイル")));
        QVERIFY(messages[2].message.text.contains(QStringLiteral("メモ帳")));
        QCOMPARE(messagesUnderBusyCursor(services().calls()), 0);
    }

private:
    ScriptedPlatformServices& services() { return m_platform->services(); }

    std::unique_ptr<TempProgramDir> m_dir;
    std::unique_ptr<ScopedScriptedPlatform> m_platform;
    std::unique_ptr<FakeMainWindow> m_window;
    std::vector<std::string> m_openErrors;
};

QTEST_MAIN(OutputCommandsTest)
#include "output_commands_test.moc"
