#include "plugin/dialog_frame.h"

#include "compat/qt_compat.h"

namespace yfx {

namespace {

QString translate(const QDialog* dialog, const char* text) {
    return dialog->metaObject()->tr(text, nullptr);
}

} // namespace

DialogButtons addDialogButtonRow(QDialog* dialog, QBoxLayout* layout) {
    DialogButtons buttons;
    auto* group = new QGroupBox(dialog);
    group->setFlat(true);
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(5, 5, 5, 5);
    row->setSpacing(5);

    buttons.whatsThis = new QPushButton(group);
    buttons.whatsThis->setIcon(dialog->style()->standardIcon(
        static_cast<QStyle::StandardPixmap>(QStyle::SP_CustomBase + 5)));
    buttons.whatsThis->setFixedHeight(20);
    buttons.whatsThis->setWhatsThis(translate(
        dialog, "<b>What's This? :</b><br>Click here to activate the interactive help tool, for "
                "the dialog. Being placed in this location provides both PC and Mac users a "
                "common logical place for quick help in the dialog without impacting general "
                "widget layout."));
    // The button promises the interactive help tool, so it starts it: through
    // the action Qt makes for that, as QWhatsThis::enterWhatsThisMode is no slot.
    QObject::connect(buttons.whatsThis, SIGNAL(clicked()), QWhatsThis::createAction(group),
                     SLOT(trigger()));
    row->addWidget(buttons.whatsThis);

    row->addItem(new QSpacerItem(80, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));

    buttons.accept = new QPushButton(translate(dialog, "&Accept"), group);
    buttons.accept->setMinimumWidth(80);
    buttons.accept->setDefault(true);
    buttons.accept->setWhatsThis(
        translate(dialog, "<b>Accept :</b><br>Click here to accept the dialog."));
    QObject::connect(buttons.accept, SIGNAL(clicked()), dialog, SLOT(accept()));
    row->addWidget(buttons.accept);

    buttons.cancel = new QPushButton(translate(dialog, "&Cancel"), group);
    buttons.cancel->setMinimumWidth(80);
    buttons.cancel->setWhatsThis(
        translate(dialog, "<b>Cancel :</b><br>Click here to cancel the dialog."));
    QObject::connect(buttons.cancel, SIGNAL(clicked()), dialog, SLOT(reject()));
    row->addWidget(buttons.cancel);

    layout->addWidget(group);
    return buttons;
}

void fixDialogSize(QDialog* dialog) {
    QSize size = dialog->minimumSizeHint();
    if (size.width() < 300) {
        size.setWidth(300);
    }
    dialog->resize(size);
    dialog->setFixedSize(size);
}

} // namespace yfx
