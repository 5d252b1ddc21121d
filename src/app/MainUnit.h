#pragma once

#include "GridController.h"
#include "GridModel.h"
#include "history/ChangeHistory.h"
#include "MenuGlyphs.h"
#include "project/DocumentLifecycle.h"
#include "QtServices.h"
#include "settings/SettingsStore.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QMenu;
class QTableView;

// Services a test may put in place of the Qt ones; nullptr keeps the Qt service.
struct PlatformOverrides {
    MessageBoxService* messageBox = nullptr;
    ClipboardService* clipboard = nullptr;
    FileDialogService* fileDialogs = nullptr;
    ColourDialogService* colourDialog = nullptr;
    SettingsBackend* settings = nullptr;
};

// The editing window: it creates the grid, the menus and the actions and connects them
// to the handlers of the core, which own the behaviour.
class TMainForm : public QMainWindow, private WindowService, private CellEditorService {
    Q_OBJECT
  public:
    explicit TMainForm(const PlatformOverrides& overrides = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    QTableView* Grid() const { return MainGrid; }
    GridController& Controller() { return *controller_; }
    MappingTable& Table() { return table_; }
    SettingsStore& Settings() { return settings_; }
    DocumentState& Document() { return document_; }
    ChangeHistory& History() { return history_; }
    const MenuGlyphs& Glyphs() const { return glyphs_; }

    // Repaints the grid on every click and move of the current cell: the colours follow
    // the selection.
    void MainGridClick();
    void About1Execute();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // WindowService
    void SetTitles(const std::string& title) override;
    void RepaintGrid() override;
    void EnableMenuEntry(MenuEntry entry, bool enabled) override;
    void Quit() override;
    // CellEditorService
    TextEditorService* ActiveEditor() override;

    void CreateGrid();
    void CreateActions();
    void CreateMenus();
    QAction* AddAction(const char* name, const char* category, const char* caption,
                       const QKeySequence& shortcut, int glyph, const char* hint,
                       std::function<void()> handler);
    QAction* AddLinkedItem(QMenu* menu, const char* name, QAction* action);
    QAction* AddOwnItem(QMenu* menu, const char* name, const QString& caption, int tag,
                        bool checkable, std::function<void()> handler);
    QAction* FindAction(const char* name) const;
    void ShowPopupMenu(const QPoint& position);
    // Runs a command as the history sees it: a step of its own for a change of the table,
    // a fresh history for a new or opened document, the saved state after a save.
    void RunCommand(const char* name, const QString& caption, const std::function<void()>& handler);
    void UpdateUndoEntries();
    void FitToScreen();

    std::unique_ptr<QtMessageBox> qtMessageBox_;
    std::unique_ptr<QtClipboard> qtClipboard_;
    std::unique_ptr<QtFileDialogs> qtFileDialogs_;
    std::unique_ptr<QtColourDialog> qtColourDialog_;
    std::unique_ptr<QSettingsBackend> qtSettings_;
    Services services_;
    MappingTable table_;
    SettingsStore settings_;
    DocumentState document_;
    EditContext edit_;
    DocumentContext documentContext_;
    ChangeHistory history_;
    MenuGlyphs glyphs_;

    QTableView* MainGrid = nullptr;
    GridModel* model_ = nullptr;
    GridController* controller_ = nullptr;
    QMenu* AdvPopupMenu1 = nullptr;
};

extern TMainForm* MainForm;
