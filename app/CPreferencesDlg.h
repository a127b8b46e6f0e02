#pragma once

#include <QDialog>

class QCheckBox;
class QRadioButton;
class QSpinBox;

// Preferences: overwrite or auto-rename existing output files, and power-off when a batch
// ends (the preferences of this run, never stored); kept source dates and how many rows
// convert at once, which the caller applies. Threads: UI thread only.
class CPreferencesDlg : public QDialog
{
    Q_OBJECT
public:
    // `keepDates`: whether outputs get their source file's date (the batch's setting).
    explicit CPreferencesDlg(bool keepDates = false, QWidget* parent = nullptr);

    QRadioButton* overwriteButton() const { return m_overwrite; }
    QRadioButton* autoRenameButton() const { return m_autoRename; }
    QCheckBox* shutdownBox() const { return m_shutdown; }
    QCheckBox* keepDatesBox() const { return m_keepDates; }
    // The date choice as the dialog shows it (the caller applies it after OK).
    bool keepDates() const;
    // "Simultaneous conversions", 1..Settings::MaxSimultaneous() (the caller applies it).
    QSpinBox* simultaneousBox() const { return m_simultaneous; }
    void setSimultaneous(int count);
    int simultaneous() const;

    // OK: takes the choices over.
    void accept() override;

private:
    QRadioButton* m_overwrite;
    QRadioButton* m_autoRename;
    QCheckBox* m_shutdown;
    QCheckBox* m_keepDates;
    QSpinBox* m_simultaneous;
};
