// YFXImportFilterDlg: the modal import options dialog. Seven check boxes in
// "Import Options", the scale factor field in "Misc Import Options", and the
// Accept/Cancel button row. Accepting stores each box's state as 1 (checked)
// or 0 and the field's text as a float (0.0 when it is not a number);
// cancelling keeps the starting values. The dialog never reads the settings:
// every new dialog starts from the same values.
#pragma once

#include "compat/qt_compat.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class YFXImportFilterDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCheckCount = 7;

    explicit YFXImportFilterDlg(QWidget* parent = nullptr);
    ~YFXImportFilterDlg() override;

    // Check value i (1 checked, 0 not) in the order of the import option keys.
    int value(int index) const;
    float scaleFactor() const { return m_scaleFactor; }
    static int startingValue(int index);
    static constexpr float kStartingScaleFactor = 1.0f;

    QCheckBox* checkBox(int index) const;
    QLineEdit* scaleField() const { return m_scaleField; }
    QLabel* scaleLabel() const { return m_scaleLabel; }
    QPushButton* whatsThisButton() const { return m_whatsThisButton; }
    QPushButton* acceptButton() const { return m_acceptButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

public slots:
    // The first five are connected to the first five boxes' stateChanged(int);
    // they do nothing.
    void onCheck1(int state);
    void onCheck2(int state);
    void onCheck3(int state);
    void onCheck4(int state);
    void onCheck5(int state);
    void onCheck6(int state);
    void onCheck7(int state);
    void accept() override;
    void reject() override;

private:
    QPushButton* m_whatsThisButton = nullptr;
    QPushButton* m_acceptButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QCheckBox* m_checks[kCheckCount] = {};
    QLineEdit* m_scaleField = nullptr;
    QLabel* m_scaleLabel = nullptr;
    int m_values[kCheckCount] = {};
    float m_scaleFactor = kStartingScaleFactor;
};
