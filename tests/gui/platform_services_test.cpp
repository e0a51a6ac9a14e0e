// The scripted desktop answers from its queues and records every call; the
// real one shows Japanese buttons and turns the program's filter lists into
// working Qt dialogs. Real dialogs are driven from a timer, so nothing waits
// for a user.

#include "platform/qt/platform_services.h"
#include "platform/qt/qt_platform_services.h"
#include "platform/qt/translations.h"
#include "tests/support/modal_driver.h"
#include "tests/support/scripted_platform_services.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace vornik;

namespace {

const QString kExportFilters = QStringLiteral("CSV形式(*.csv)|*.csv|Web形式(*.htm,*.html)|*.htm||");

QStringList buttonTexts(QMessageBox* box)
{
    QStringList texts;
    for (QAbstractButton* button : box->buttons())
        texts.append(button->text());
    texts.sort();
    return texts;
}

QAbstractButton* buttonWithText(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// As the user types it; selectFile() leaves a focused name box alone.
void typeFileName(QFileDialog* dialog, const QString& name)
{
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
}

FileDialogRequest exportRequest(const QString& folder)
{
    FileDialogRequest request;
    request.title = QStringLiteral("表示データを出力");
    request.filters = kExportFilters;
    request.initialFolder = folder;
    request.initialName = QStringLiteral("*.csv");
    request.defaultExtension = QStringLiteral("csv");
    return request;
}

} // namespace

class PlatformServicesTest : public QObject {
    Q_OBJECT

private slots:
    void scriptedMessageBoxesAnswerFromQueueThenDefault();
    void scriptedFileDialogsShellProcessAndClipboard();
    void scriptedBusyCursorAndInstallation();
    void messageBoxButtonRules();
    void windowsFilterBecomesQtFilters();
    void defaultExtensionAppended();
    void shellTargetsBecomeUrls();
    void realMessageBoxShowsJapaneseButtons();
    void realMessageBoxEscapeAndOk();
    void realSaveDialogFollowsChosenType();
    void realSaveDialogAsksBeforeOverwriting();
    void realOpenDialogAcceptsNewAndExistingNames();
    void translationsLoader();
};

void PlatformServicesTest::scriptedMessageBoxesAnswerFromQueueThenDefault()
{
    ScopedScriptedPlatform scripted;
    scripted->queueMessageAnswer(MessageAnswer::Yes);

    MessageBoxRequest remove { nullptr, QStringLiteral("データの削除"),
        QStringLiteral("削除します。\nよろしいですか？"), MessageIcon::Question, MessageButtons::YesNo,
        MessageAnswer::No };
    QCOMPARE(platformServices().messageBox(remove), MessageAnswer::Yes);
    // Nothing queued: the request's own default, as if Enter were pressed.
    QCOMPARE(platformServices().messageBox(remove), MessageAnswer::No);
    MessageBoxRequest note { nullptr, QStringLiteral("検索条件"), QStringLiteral("x"), MessageIcon::Warning,
        MessageButtons::Ok, std::nullopt };
    QCOMPARE(platformServices().messageBox(note), MessageAnswer::Ok);

    const std::vector<PlatformCall> boxes = scripted->callsOf(PlatformCallKind::MessageBox);
    QCOMPARE(boxes.size(), std::size_t(3));
    QCOMPARE(boxes[0].message.caption, QStringLiteral("データの削除"));
    QCOMPARE(boxes[0].message.text, QStringLiteral("削除します。\nよろしいですか？"));
    QCOMPARE(boxes[0].message.icon, MessageIcon::Question);
    QCOMPARE(boxes[0].message.buttons, MessageButtons::YesNo);
    QCOMPARE(boxes[0].message.defaultButton, std::optional<MessageAnswer>(MessageAnswer::No));
    QVERIFY(!boxes[0].answeredByDefault);
    QVERIFY(boxes[1].answeredByDefault);
    QCOMPARE(boxes[1].answer, MessageAnswer::No);
    QCOMPARE(boxes[2].message.icon, MessageIcon::Warning);
    QCOMPARE(scripted->pendingMessageAnswers(), std::size_t(0));
}

void PlatformServicesTest::scriptedFileDialogsShellProcessAndClipboard()
{
    ScopedScriptedPlatform scripted;
    scripted->queueFileName(FileDialogResult { QStringLiteral("/tmp/out.htm"), 1 });
    scripted->queueFileName(std::nullopt);

    FileDialogRequest save = exportRequest(QStringLiteral("/prog"));
    save.confirmOverwrite = true;
    const std::optional<FileDialogResult> chosen = platformServices().saveFileName(save);
    QVERIFY(chosen);
    QCOMPARE(chosen->path, QStringLiteral("/tmp/out.htm"));
    QCOMPARE(chosen->filterIndex, 1);
    QVERIFY(!platformServices().saveFileName(save)); // queued cancel
    FileDialogRequest open;
    open.title = QStringLiteral("ファイルを開く");
    QVERIFY(!platformServices().openFileName(open)); // nothing queued: cancel

    platformServices().openWithShell(QStringLiteral("https://example.net/?itemName=%82%A0"));
    QVERIFY(
        platformServices().startDetached(QStringLiteral("/prog/vornik"), { QStringLiteral("/i=樫の弓 2") }));
    scripted->setStartDetachedResult(false);
    QVERIFY(!platformServices().startDetached(QStringLiteral("shopsearch.exe"), {}));
    platformServices().setClipboardText(QStringLiteral("銀の指輪\r\n"));
    QCOMPARE(platformServices().clipboardText(), QStringLiteral("銀の指輪\r\n"));

    const std::vector<PlatformCall>& calls = scripted->calls();
    QCOMPARE(calls.size(), std::size_t(8));
    QCOMPARE(calls[0].kind, PlatformCallKind::SaveFileName);
    QCOMPARE(calls[0].fileDialog.title, QStringLiteral("表示データを出力"));
    QCOMPARE(calls[0].fileDialog.filters, kExportFilters);
    QCOMPARE(calls[0].fileDialog.initialFolder, QStringLiteral("/prog"));
    QCOMPARE(calls[0].fileDialog.initialName, QStringLiteral("*.csv"));
    QCOMPARE(calls[0].fileDialog.defaultExtension, QStringLiteral("csv"));
    QVERIFY(calls[0].fileDialog.confirmOverwrite);
    QCOMPARE(calls[0].fileResult->path, QStringLiteral("/tmp/out.htm"));
    QVERIFY(!calls[1].fileResult);
    QCOMPARE(calls[2].kind, PlatformCallKind::OpenFileName);
    QCOMPARE(calls[2].fileDialog.title, QStringLiteral("ファイルを開く"));
    QCOMPARE(calls[3].target, QStringLiteral("https://example.net/?itemName=%82%A0"));
    QCOMPARE(calls[4].program, QStringLiteral("/prog/vornik"));
    QCOMPARE(calls[4].arguments, QStringList { QStringLiteral("/i=樫の弓 2") });
    QCOMPARE(calls[5].program, QStringLiteral("shopsearch.exe"));
    QCOMPARE(calls[6].kind, PlatformCallKind::SetClipboardText);
    QCOMPARE(calls[7].kind, PlatformCallKind::ClipboardText);
    QCOMPARE(calls[7].clipboardText, QStringLiteral("銀の指輪\r\n"));
}

void PlatformServicesTest::scriptedBusyCursorAndInstallation()
{
    PlatformServices* real = &platformServices();
    {
        ScopedScriptedPlatform outer;
        {
            ScopedScriptedPlatform inner;
            QCOMPARE(&platformServices(), &inner.services());
            {
                BusyCursor busy;
                // Installing other services meanwhile must not strand the
                // cursor on the first ones.
                ScopedScriptedPlatform nested;
                QCOMPARE(inner->busyDepth(), 1);
            }
            QCOMPARE(inner->busyDepth(), 0);
            QCOMPARE(inner->callsOf(PlatformCallKind::EndBusy).size(), std::size_t(1));
        }
        QCOMPARE(&platformServices(), &outer.services());
        QVERIFY(outer->calls().empty());
    }
    QCOMPARE(&platformServices(), real);

    ScriptedPlatformServices manual;
    setPlatformServices(&manual);
    QCOMPARE(&platformServices(), static_cast<PlatformServices*>(&manual));
    setPlatformServices(nullptr);
    QVERIFY(dynamic_cast<QtPlatformServices*>(&platformServices()));
}

void PlatformServicesTest::messageBoxButtonRules()
{
    auto request = [](MessageButtons buttons, std::optional<MessageAnswer> defaultButton) {
        return MessageBoxRequest { nullptr, {}, {}, MessageIcon::Question, buttons, defaultButton };
    };
    QCOMPARE(effectiveDefaultButton(request(MessageButtons::YesNo, MessageAnswer::No)), MessageAnswer::No);
    QCOMPARE(effectiveDefaultButton(request(MessageButtons::YesNo, std::nullopt)), MessageAnswer::Yes);
    // A default the box does not offer falls back to the first button.
    QCOMPARE(effectiveDefaultButton(request(MessageButtons::YesNo, MessageAnswer::Ok)), MessageAnswer::Yes);
    QCOMPARE(effectiveDefaultButton(request(MessageButtons::OkCancel, MessageAnswer::Cancel)),
        MessageAnswer::Cancel);
    QCOMPARE(effectiveDefaultButton(request(MessageButtons::Ok, MessageAnswer::Yes)), MessageAnswer::Ok);

    QCOMPARE(closeAnswer(MessageButtons::Ok), MessageAnswer::Ok);
    QCOMPARE(closeAnswer(MessageButtons::OkCancel), MessageAnswer::Cancel);
    QCOMPARE(closeAnswer(MessageButtons::YesNo), MessageAnswer::No);
    QCOMPARE(closeAnswer(MessageButtons::YesNoCancel), MessageAnswer::Cancel);
    QVERIFY(!offersAnswer(MessageButtons::YesNo, MessageAnswer::Cancel));
    QVERIFY(offersAnswer(MessageButtons::YesNoCancel, MessageAnswer::Cancel));
}

void PlatformServicesTest::windowsFilterBecomesQtFilters()
{
    QCOMPARE(qtFilterFromWindowsFilter(kExportFilters),
        (QStringList {
            QStringLiteral("CSV形式(*.csv) (*.csv)"), QStringLiteral("Web形式(*.htm,*.html) (*.htm)") }));
    // Several patterns of one type; a missing closing "||"; a type without a
    // pattern shows everything.
    QCOMPARE(qtFilterFromWindowsFilter(QStringLiteral("文書|*.txt;*.log|すべて|")),
        (QStringList { QStringLiteral("文書 (*.txt *.log)"), QStringLiteral("すべて (*)") }));
    QVERIFY(qtFilterFromWindowsFilter(QString()).isEmpty());
    QVERIFY(qtFilterFromWindowsFilter(QStringLiteral("||")).isEmpty());

    const std::vector<FileTypeFilter> types = parseWindowsFilter(kExportFilters);
    QCOMPARE(types.size(), std::size_t(2));
    QCOMPARE(types[1].description, QStringLiteral("Web形式(*.htm,*.html)"));
    QCOMPARE(types[1].patterns, QStringList { QStringLiteral("*.htm") });
}

void PlatformServicesTest::defaultExtensionAppended()
{
    QCOMPARE(withDefaultExtension(QStringLiteral("/a/b/report"), QStringLiteral("csv")),
        QStringLiteral("/a/b/report.csv"));
    QCOMPARE(withDefaultExtension(QStringLiteral("/a/b/report.TXT"), QStringLiteral("csv")),
        QStringLiteral("/a/b/report.TXT"));
    // A dot in a folder name is not the file's extension.
    QCOMPARE(withDefaultExtension(QStringLiteral("/a.d/report"), QStringLiteral("csv")),
        QStringLiteral("/a.d/report.csv"));
    QCOMPARE(withDefaultExtension(QStringLiteral("C:\\a.d\\report"), QStringLiteral("htm")),
        QDir::separator() == QLatin1Char('\\') ? QStringLiteral("C:\\a.d\\report.htm")
                                               : QStringLiteral("C:\\a.d\\report"));
    QCOMPARE(withDefaultExtension(QStringLiteral("/a/report"), QString()), QStringLiteral("/a/report"));
    QCOMPARE(withDefaultExtension(QStringLiteral("/a/"), QStringLiteral("csv")), QStringLiteral("/a/"));

    QCOMPARE(extensionToAppend(kExportFilters, 0, QStringLiteral("csv")), QStringLiteral("csv"));
    QCOMPARE(extensionToAppend(kExportFilters, 1, QStringLiteral("csv")), QStringLiteral("htm"));
    QCOMPARE(extensionToAppend(kExportFilters, 7, QStringLiteral("csv")), QStringLiteral("csv"));
    QCOMPARE(
        extensionToAppend(QStringLiteral("すべて|*.*||"), 0, QStringLiteral("txt")), QStringLiteral("txt"));
    QCOMPARE(extensionToAppend(kExportFilters, 1, QString()), QString());
}

void PlatformServicesTest::shellTargetsBecomeUrls()
{
    QCOMPARE(shellUrlForTarget(QStringLiteral("https://example.net/a?word=%82%A0")).toString(),
        QStringLiteral("https://example.net/a?word=%82%A0"));
    QCOMPARE(shellUrlForTarget(QStringLiteral("/tmp/出力 1.htm")),
        QUrl::fromLocalFile(QStringLiteral("/tmp/出力 1.htm")));
    const QUrl relative = shellUrlForTarget(QStringLiteral("out.csv"));
    QVERIFY(relative.isLocalFile());
    QCOMPARE(relative.toLocalFile(), QDir::current().absoluteFilePath(QStringLiteral("out.csv")));
    // A drive letter is not a scheme.
    QVERIFY(shellUrlForTarget(QStringLiteral("C:/data/out.csv")).isLocalFile());
}

void PlatformServicesTest::realMessageBoxShowsJapaneseButtons()
{
    QtPlatformServices real;
    QStringList seen;
    QString defaultText;
    QString caption;
    Qt::TextFormat format = Qt::AutoText;
    test::ModalDriver driver({ [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        seen = buttonTexts(box);
        defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
        caption = box->windowTitle();
        format = box->textFormat();
        buttonWithText(box, QStringLiteral("いいえ(&N)"))->click();
    } });
    const MessageAnswer answer
        = real.messageBox({ nullptr, QStringLiteral("データの削除"), QStringLiteral("<b>消す</b>"),
            MessageIcon::Question, MessageButtons::YesNoCancel, MessageAnswer::No });

    QVERIFY(driver.finished());
    QCOMPARE(answer, MessageAnswer::No);
    QStringList expected { QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"),
        QStringLiteral("キャンセル") };
    expected.sort();
    QCOMPARE(seen, expected);
    QCOMPARE(defaultText, QStringLiteral("いいえ(&N)"));
    QCOMPARE(caption, QStringLiteral("データの削除"));
    QCOMPARE(format, Qt::PlainText);
}

void PlatformServicesTest::realMessageBoxEscapeAndOk()
{
    QtPlatformServices real;
    QStringList okTexts;
    test::ModalDriver driver({
        [&](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); },
        [&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            okTexts = buttonTexts(box);
            box->defaultButton()->click();
        },
    });
    QCOMPARE(real.messageBox({ nullptr, QStringLiteral("確認"), QStringLiteral("続けますか"),
                 MessageIcon::Warning, MessageButtons::OkCancel, std::nullopt }),
        MessageAnswer::Cancel);
    QCOMPARE(
        real.messageBox({ nullptr, QStringLiteral("入力エラー"), QStringLiteral("名前が入力されていません。"),
            MessageIcon::Error, MessageButtons::Ok, std::nullopt }),
        MessageAnswer::Ok);
    QVERIFY(driver.finished());
    QCOMPARE(okTexts, QStringList { QStringLiteral("OK") });
}

void PlatformServicesTest::realSaveDialogFollowsChosenType()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QtPlatformServices real;
    QStringList nameFilters;
    QString title;
    QString typedAtStart;
    QStringList shownTypes;
    test::ModalDriver driver({ [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        nameFilters = dialog->nameFilters();
        title = dialog->windowTitle();
        typedAtStart = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < types->count(); ++i)
            shownTypes.append(types->itemText(i));
        dialog->selectNameFilter(nameFilters.value(1));
        typeFileName(dialog, QStringLiteral("一覧"));
        static_cast<QDialog*>(dialog)->accept(); // public only as QDialog
    } });
    const std::optional<FileDialogResult> chosen = real.saveFileName(exportRequest(folder.path()));

    QVERIFY(driver.finished());
    QCOMPARE(title, QStringLiteral("表示データを出力"));
    QCOMPARE(nameFilters, qtFilterFromWindowsFilter(kExportFilters));
    QCOMPARE(shownTypes,
        (QStringList { QStringLiteral("CSV形式(*.csv)"), QStringLiteral("Web形式(*.htm,*.html)") }));
    QVERIFY(typedAtStart.isEmpty()); // "*.csv" is a type, not a name
    QVERIFY(chosen);
    QCOMPARE(chosen->filterIndex, 1);
    QCOMPARE(
        QDir::fromNativeSeparators(chosen->path), QDir(folder.path()).filePath(QStringLiteral("一覧.htm")));
}

void PlatformServicesTest::realSaveDialogAsksBeforeOverwriting()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile existing(QDir(folder.path()).filePath(QStringLiteral("old.csv")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();

    QtPlatformServices real;
    bool asked = false;
    test::ModalDriver driver({
        [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            typeFileName(dialog, QStringLiteral("old")); // the default extension makes it old.csv
            static_cast<QDialog*>(dialog)->accept();
        },
        [&](QWidget* modal) {
            auto* question = qobject_cast<QMessageBox*>(modal);
            QVERIFY(question);
            asked = true;
            question->button(QMessageBox::Yes)->click();
        },
    });
    const std::optional<FileDialogResult> chosen = real.saveFileName(exportRequest(folder.path()));

    QVERIFY(driver.finished());
    QVERIFY(asked);
    QVERIFY(chosen);
    QCOMPARE(chosen->filterIndex, 0);
    QCOMPARE(QDir::fromNativeSeparators(chosen->path), existing.fileName());
}

void PlatformServicesTest::realOpenDialogAcceptsNewAndExistingNames()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    struct Case {
        QString typed;
        bool exists;
        QString expected;
    };
    // A new name gets the type's extension; an existing file is opened
    // under exactly its name: nothing trimmed, no extension added.
    const std::vector<Case> cases = {
        { QStringLiteral("まだない"), false, QStringLiteral("まだない.txt") },
        { QStringLiteral("レシピ.txt "), true, QStringLiteral("レシピ.txt ") },
        { QStringLiteral("古いデータ "), true, QStringLiteral("古いデータ ") },
    };
    for (const Case& c : cases) {
        if (c.exists) {
            QFile file(QDir(folder.path()).filePath(c.typed));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QtPlatformServices real;
        FileDialogRequest request;
        request.title = QStringLiteral("ファイルを開く");
        request.filters = QStringLiteral("Vornik形式(*.txt)|*.txt||");
        request.initialFolder = folder.path();
        request.initialName = QStringLiteral("*.txt");
        request.defaultExtension = QStringLiteral("txt");
        test::ModalDriver driver({ [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            typeFileName(dialog, c.typed);
            static_cast<QDialog*>(dialog)->accept(); // public only as QDialog
        } });
        const std::optional<FileDialogResult> chosen = real.openFileName(request);

        QVERIFY(driver.finished());
        QVERIFY(chosen);
        QCOMPARE(QDir::fromNativeSeparators(chosen->path), QDir(folder.path()).filePath(c.expected));
    }
}

void PlatformServicesTest::translationsLoader()
{
    QTemporaryDir empty;
    QVERIFY(!installJapaneseTranslationsFrom(*qApp, empty.path()));
    QVERIFY(!installJapaneseTranslationsFrom(*qApp, QStringLiteral("/no/such/folder")));
    QVERIFY(!installJapaneseTranslationsFrom(*qApp, QString()));

    const QString english = QCoreApplication::translate("QFileDialog", "File &name:");
    installJapaneseTranslations(*qApp);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(QDir(folder).filePath(QStringLiteral("qtbase_ja.qm"))))
        QSKIP("Qt's Japanese translations are not installed here");
    QVERIFY(QCoreApplication::translate("QFileDialog", "File &name:") != english);
}

QTEST_MAIN(PlatformServicesTest)
#include "platform_services_test.moc"
