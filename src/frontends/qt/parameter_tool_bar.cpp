#include "frontends/qt/parameter_tool_bar.h"

#include <QMenu>
#include <QToolButton>

namespace zephran::qt {
namespace {

constexpr const char* kFilter = "Parameter files (*.json)|*.json|All files (*)|*";

void SetTexts(QAction& action, const std::string& text, const std::string& tip) {
    action.setText(QString::fromStdString(text));
    action.setToolTip(QString::fromStdString(tip));
}

// A name typed without an extension gets the parameter files' one.
std::string WithExtension(std::string path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', name) == std::string::npos) path += ".json";
    return path;
}

}  // namespace

ParameterToolBar::ParameterToolBar(CZephranDlg& dialog, std::function<void()> started)
    : dialog_(dialog),
      started_(std::move(started)),
      save_(addAction(QString())),
      load_(addAction(QString())),
      compare_(addAction(QString())),
      cancel_(addAction(QString())) {
    setMovable(false);
    setFloatable(false);
    auto* compareMenu = new QMenu(this);
    compareWithBoard_ = compareMenu->addAction(QString());
    compareFiles_ = compareMenu->addAction(QString());
    connect(compareWithBoard_, &QAction::triggered, this, [this] { CompareWithBoard(); });
    connect(compareFiles_, &QAction::triggered, this, [this] { CompareFiles(); });
    compare_->setMenu(compareMenu);
    if (auto* button = qobject_cast<QToolButton*>(widgetForAction(compare_)))
        button->setPopupMode(QToolButton::InstantPopup);
    connect(save_, &QAction::triggered, this, [this] { Save(); });
    connect(load_, &QAction::triggered, this, [this] { Load(); });
    connect(cancel_, &QAction::triggered, this, [this] { dialog_.Parameters().Cancel(); });
    dialog_.Parameters().busyChanged.Connect([this] { Refresh(); });
    dialog_.textsChanged.Connect([this] { ApplyTexts(); });
    ApplyTexts();
    Refresh();
}

ParameterToolBar::~ParameterToolBar() {
    dialog_.Parameters().busyChanged.Connect(nullptr);
    dialog_.textsChanged.Connect(nullptr);
}

void ParameterToolBar::ApplyTexts() {
    const TextSource& texts = dialog_.Texts();
    SetTexts(*save_, AddedText(texts, "ParameterFiles", "Save", "Save…"),
             AddedText(texts, "ParameterFiles", "Tip Save",
                       "Save every parameter set of the board to a file"));
    SetTexts(*load_, AddedText(texts, "ParameterFiles", "Load", "Load…"),
             AddedText(texts, "ParameterFiles", "Tip Load",
                       "Write a parameter file's values to the board, after showing what "
                       "changes"));
    SetTexts(*compare_, AddedText(texts, "ParameterFiles", "Compare", "Compare…"),
             AddedText(texts, "ParameterFiles", "Tip Compare",
                       "List the values that differ, field by field"));
    SetTexts(
        *cancel_, AddedText(texts, "ParameterFiles", "Cancel", "Cancel"),
        AddedText(texts, "ParameterFiles", "Tip Cancel", "Stop the running parameter transfer"));
    compareWithBoard_->setText(QString::fromStdString(
        AddedText(texts, "ParameterFiles", "Compare Board", "File with the board…")));
    compareFiles_->setText(QString::fromStdString(
        AddedText(texts, "ParameterFiles", "Compare Files", "File with another file…")));
}

void ParameterToolBar::Refresh() {
    const bool busy = dialog_.Parameters().Busy();
    save_->setEnabled(!busy);
    load_->setEnabled(!busy);
    compare_->setEnabled(!busy);
    cancel_->setEnabled(busy);
}

void ParameterToolBar::Run(const std::function<void(ParameterFiles::Done)>& start) {
    start([this](const ParameterFiles::Outcome& outcome) { Show(outcome); });
    started_();
}

void ParameterToolBar::Show(const ParameterFiles::Outcome& outcome) {
    std::string text;
    for (const std::string& line : outcome.lines)
        text += (text.empty() ? "" : "\n") + line;
    if (!outcome.error.empty()) text += (text.empty() ? "" : "\n") + outcome.error;
    dialog_.Host().MessageBox(text);
}

void ParameterToolBar::Save() {
    const auto path = dialog_.Host().ChooseSaveFile(kFilter);
    if (!path) return;
    Run([this, file = WithExtension(*path)](ParameterFiles::Done done) {
        dialog_.Parameters().Save(file, std::move(done));
    });
}

void ParameterToolBar::Load() {
    const auto path = dialog_.Host().ChooseFile(kFilter);
    if (!path) return;
    Run([this, &path](ParameterFiles::Done done) {
        dialog_.Parameters().Load(*path, std::move(done));
    });
}

void ParameterToolBar::CompareWithBoard() {
    const auto path = dialog_.Host().ChooseFile(kFilter);
    if (!path) return;
    Run([this, &path](ParameterFiles::Done done) {
        dialog_.Parameters().CompareWithBoard(*path, std::move(done));
    });
}

void ParameterToolBar::CompareFiles() {
    const auto first = dialog_.Host().ChooseFile(kFilter);
    if (!first) return;
    const auto second = dialog_.Host().ChooseFile(kFilter);
    if (!second) return;
    Show(dialog_.Parameters().CompareFiles(*first, *second));
}

}  // namespace zephran::qt
