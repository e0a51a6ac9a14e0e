#pragma once
// Reports the storage layer's last file error (file name and cause, in
// Japanese) in a message box through the platform layer.

class QWidget;

namespace vornik {

void showFileError(QWidget* parent);

} // namespace vornik
