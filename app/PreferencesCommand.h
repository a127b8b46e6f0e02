#pragma once

class CBatchConverter;
class Settings;
class QWidget;

// Tools › Preferences: shows the dialog with the batch's and the stored choices and, when the
// user confirms, hands them to the batch and writes those kept between runs. The number of
// simultaneous conversions counts from the next Encode. Threads: UI thread only.
namespace PreferencesCommand {

// Runs the dialog over `owner`, keeping the choices in `settings`; nothing changes when it is
// cancelled.
void Run(QWidget* owner, CBatchConverter& batch, const Settings& settings);

// At Encode: gives `batch` the simultaneous conversions `settings` ask for. When it cannot have
// them, the rows convert one at a time and the user is told so over `owner`, once for that
// number (`refused` keeps it).
void ApplySimultaneous(QWidget* owner, CBatchConverter& batch, const Settings& settings,
                       int& refused);

} // namespace PreferencesCommand
