#include "app/about_dialog.h"

#include "platform/qt/qt_text.h"
#include "storage/paths.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vornik {

void showAboutBox(QWidget* parent)
{
    QDialog box(parent);
    box.setWindowTitle(QStringLiteral("バージョン情報"));
    auto* icon = new QLabel(&box);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    auto* texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QStringLiteral("Vornik for Windows"), &box));
    texts->addWidget(new QLabel(QStringLiteral("バージョン：1, 4, 2"), &box));
    // Installed programs keep their files in a folder of the user's own;
    // say where, so that they can be found and backed up.
    texts->addWidget(new QLabel(QStringLiteral("データフォルダー：") + fromSjis(programDir()), &box));
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts);
    auto* buttons = new QDialogButtonBox(&box);
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    close->setAccessibleName(close->text());
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* layout = new QVBoxLayout(&box);
    layout->addLayout(top);
    layout->addWidget(buttons);
    box.exec();
}

} // namespace vornik
