#pragma once

class QWidget;

namespace vornik {

// "バージョン情報": icon, program name, version, a close button. Modal.
void showAboutBox(QWidget* parent);

} // namespace vornik
