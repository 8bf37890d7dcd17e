#pragma once

#include <string>
#include <vector>

#include "ui/host_services.h"
#include "ui/layout.h"

namespace zephran::ui {

class DataExchange;
class Window;

// A front end's view of a window: told of every change so it can redraw.
class WindowObserver {
public:
    virtual ~WindowObserver() = default;
    // id 0 is the window's own title.
    virtual void ControlChanged(Window& window, int id) = 0;
    // A modal window called EndDialog.
    virtual void WindowEnded(Window&) {}
    // The window moved the focus (Window::SetFocus); user input that moves it is not echoed.
    virtual void FocusChanged(Window&) {}
};

// A dialog window: controls by id, built from a template. Code reads and writes controls only
// through it; front ends render it and hand user input back through the User* calls.
class Window {
public:
    Window(HostServices& host, WindowTemplate windowTemplate);
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HostServices& Host() const { return host_; }
    const LayoutItem& Layout() const { return layout_; }
    const std::vector<Control>& Controls() const { return controls_; }
    const Control* Find(int id) const;
    void SetObserver(WindowObserver* observer) { observer_ = observer; }

    void SetWindowText(const std::string& title);
    const std::string& GetWindowText() const { return title_; }

    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void CheckDlgButton(int id, bool checked);
    bool IsDlgButtonChecked(int id) const;
    // Checks one radio button of first..last and clears the others.
    void CheckRadioButton(int first, int last, int checkedId);
    void EnableControl(int id, bool enabled);
    void ShowControl(int id, bool visible);
    // What the pointer resting on the control shows; empty for nothing.
    void SetTip(int id, const std::string& tip);
    void SetRange(int id, int low, int high);
    void SetPos(int id, int position);
    int GetPos(int id) const;
    void ResetContent(int id);
    void AddString(int id, const std::string& entry);
    void SetCurSel(int id, int index);
    int GetCurSel(int id) const;
    void SetMark(int id, ValueMark mark);
    void SetNote(int id, const std::string& note);
    // Moves the keyboard focus to control id (0 for none); selectText selects the whole text
    // of a box, so that typing replaces it.
    void SetFocus(int id, bool selectText = false);
    int Focus() const { return focus_; }
    // Whether the whole text of the focused box is selected.
    bool FocusTextSelected() const { return focusTextSelected_; }

    // Data exchange between the fields and the controls. Towards the fields it is all or
    // nothing: every box is checked first, and when one does not parse or lies out of range
    // its standard message is shown, the focus goes to it with its text selected, no field
    // changes and the result is false. Requests that carry the page's values go out only on
    // true.
    bool UpdateData(bool saveAndValidate);
    // For requests that carry none of the page's values but keep what was typed (the tracker's
    // Read and Default): takes every box that parses, quietly leaves the others' fields as they
    // are, and never stops the request.
    void TakeValidBoxes();

    // User input from a front end. False when the control is missing, hidden or disabled.
    bool UserSetText(int id, const std::string& text);
    bool UserClick(int id);
    bool UserChoose(int id, int index);
    bool UserSetPos(int id, int position);
    bool UserReleaseSpin(int id);

    // Modal windows: EndDialog marks the window done with a result.
    void EndDialog(int result);
    bool Ended() const { return ended_; }
    int Result() const { return result_; }
    // Runs the window's initialisation: once for a page, at each RunModal for a modal window.
    // The controls first show the fields.
    void InitDialog();

protected:
    virtual void DoDataExchange(DataExchange&) {}
    // A button, check box or radio button was pressed (after its check state changed).
    virtual void OnCommand(int id);
    virtual void OnSelChange(int) {}
    // The user changed the text of an edit box or drop-down.
    virtual void OnEditChange(int) {}
    virtual void OnSpinRelease(int) {}
    virtual void OnPositionChange(int) {}
    virtual void OnInitDialog() {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    Control* Mutable(int id);
    // Sets one property of control id and tells the front ends, when it changes.
    template <typename T>
    void Assign(int id, T Control::*property, const T& value);
    Control* Usable(int id);
    void Changed(int id);
    // User input moved the focus to control id; the front end has it there already.
    void UserFocus(int id);

    HostServices& host_;
    std::string title_;
    std::vector<Control> controls_;
    LayoutItem layout_;
    WindowObserver* observer_ = nullptr;
    int focus_ = 0;
    bool focusTextSelected_ = false;
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace zephran::ui
