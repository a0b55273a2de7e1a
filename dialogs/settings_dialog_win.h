// The settings dialog of one power action: Form2 for shutdown, Form3 for restart, one class built twice.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/message_loop_win.h"
#include "schedule/schedule.h"

namespace ts {

// What a settings dialog needs from the window that opens it. The dialog knows nothing else of it.
class SettingsDialogHost {
public:
    // The window whose DPI and icons the dialog takes when it opens.
    virtual HWND HostWindow() const = 0;
    virtual HICON HostIcon(bool small) const = 0;
    // The action's section was saved: these are the lines of its ticked schedules, in list order.
    virtual void ScheduleSaved(PowerAction action, const std::vector<std::string>& listLines) = 0;

protected:
    ~SettingsDialogHost() = default;
};

class SettingsDialog {
public:
    SettingsDialog(PowerAction action, SettingsDialogHost& host);
    ~SettingsDialog();
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    // Creates the dialog and fills it from the settings file; if it is already open, only brings it
    // to the front with its unsaved edits.
    void Show();
    // Closes it without saving, if it is open.
    void Destroy();
    HWND Hwnd() const { return hwnd_; }

private:
    template <typename T>
    friend LRESULT CALLBACK WindowProcFor(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    bool Create();
    void CreateControls();
    void ApplyDpi(UINT dpi);
    void FillFromSettingsFile();
    void OnCommand(int id, int code, HWND control);
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT msg);

    // The number rule, run on every change of a field's text.
    void OnFieldChange(int textNumber);
    void SetFieldText(int textNumber, const std::string& text);
    std::string FieldText(int textNumber) const;
    std::string ControlText(int id) const;

    bool IsChecked(int checkNumber) const;
    void SetChecked(int checkNumber, bool on);
    // Check box click: enables and colours that check box's row.
    void SwitchRow(int checkNumber);
    int RowOfControl(HWND control) const;

    // OK: a weekday start-up recognises, the ranges, one atomic save, then the host's list and reload.
    void OnOk();
    void ShowMessage(const std::wstring& text) const;

    PowerAction action_;
    SettingsDialogHost& host_;
    HWND hwnd_ = nullptr;

    // What belongs to one window's lifetime: made anew with each window, so a reopened dialog
    // carries nothing of the last one.
    struct WindowState {
        DialogKeyboard keyboard;
        bool applyingRule = false;  // the rule's own replacement changes the text again
        UniqueFont fieldFont;
        UniqueFont uiFont;
    };
    WindowState window_;
};

}  // namespace ts
