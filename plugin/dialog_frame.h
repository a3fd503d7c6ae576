// Pieces the two options dialogs share: the button row at the bottom and the
// final fixed sizing.
#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

namespace yfx {

struct DialogButtons {
    QPushButton* whatsThis = nullptr;
    QPushButton* accept = nullptr;
    QPushButton* cancel = nullptr;
};

// Adds to `layout` a flat, untitled group box holding, left to right: a
// What's This button (the style's pixmap SP_CustomBase + 5, height 20), an
// expanding spacer, "&Accept" (the default button, wired to the dialog's
// accept) and "&Cancel" (wired to reject). The texts are translated in the
// dialog's class context.
DialogButtons addDialogButtonRow(QDialog* dialog, QBoxLayout* layout);

// Resizes the dialog to its minimum size hint, at least 300 pixels wide, and
// fixes that size so that it cannot be resized.
void fixDialogSize(QDialog* dialog);

} // namespace yfx
