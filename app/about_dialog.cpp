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
    auto* name = new QLabel(QStringLiteral("Vornik for Windows"), &box);
    // Wide enough for the caption in the title bar as well as the texts.
    name->setMinimumWidth(name->fontMetrics().horizontalAdvance(QStringLiteral("バージョン情報")) + 160);
    texts->addWidget(name);
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
    top->setSpacing(16);
    layout->setSpacing(12);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    box.exec();
}

} // namespace vornik
