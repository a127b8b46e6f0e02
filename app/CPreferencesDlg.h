#pragma once

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// Preferences: overwrite or auto-rename existing output files, and power-off when a batch
// ends (the preferences of this run, never stored); kept source dates, whether a failed file
// stops the batch and how many rows convert at once, which the caller applies (and keeps in
// config.ini, but for the dates). Threads: UI thread only.
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
    // Whether a long video may be cut into segments that convert side by side and resume.
    QCheckBox* segmentsBox() const { return m_segments; }
    // Whether rows already in the profile's codec are skipped; whether larger outputs are
    // removed.
    QCheckBox* skipSameCodecBox() const { return m_skipSameCodec; }
    QCheckBox* keepSmallerBox() const { return m_keepSmaller; }
    // With it, the source is copied in place of a larger output (usable only with it).
    QCheckBox* copySourceBox() const { return m_copySource; }
    // Outputs of an added folder's files go to the same sub-folders under the output folder.
    QCheckBox* keepTreeBox() const { return m_keepTree; }
    // The least SSIM a converted row may measure before it is marked; 0 off.
    void setQualityFloor(double floor);
    double qualityFloor() const;
    QCheckBox* qualityWarningBox() const { return m_qualityWarning; }
    QDoubleSpinBox* qualityFloorBox() const { return m_qualityFloor; }
    // The pattern outputs are named by; checked when the dialog is accepted.
    QLineEdit* namePatternBox() const;
    QRadioButton* stopOnFailureButton() const { return m_stopOnFailure; }
    QRadioButton* goOnButton() const { return m_goOn; }
    // Shows the failure choice: go on with the next file (true) or stop the batch.
    void setKeepGoing(bool keepGoing);
    // The failure choice as the dialog shows it (the caller applies and stores it after OK).
    bool keepGoing() const;

    // OK: takes the choices over.
    void accept() override;

private:
    QRadioButton* m_overwrite;
    QRadioButton* m_autoRename;
    QCheckBox* m_shutdown;
    QCheckBox* m_keepDates;
    QSpinBox* m_simultaneous;
    QCheckBox* m_segments;
    QCheckBox* m_skipSameCodec;
    QCheckBox* m_keepSmaller;
    QCheckBox* m_copySource;
    QCheckBox* m_keepTree;
    QCheckBox* m_qualityWarning;
    QDoubleSpinBox* m_qualityFloor;
    QLineEdit* m_namePattern;
    QRadioButton* m_stopOnFailure;
    QRadioButton* m_goOn;
};
