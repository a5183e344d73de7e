#pragma once

#include <QString>

class QFileDialog;

namespace zw
{

// Shows a file dialog made ready by the caller; the first file chosen, or an empty text when
// the dialog was cancelled or nothing was chosen.
QString execFileDialog(QFileDialog &dialog);

} // namespace zw
