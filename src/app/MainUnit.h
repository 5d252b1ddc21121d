#pragma once

#include "GridModel.h"
#include "MenuGlyphs.h"
#include "project/DocumentLifecycle.h"
#include "QtServices.h"
#include "settings/SettingsStore.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLineEdit;
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
    MappingTable& Table() { return table_; }
    SettingsStore& Settings() { return settings_; }
    DocumentState& Document() { return document_; }
    const MenuGlyphs& Glyphs() const { return glyphs_; }

    // Repaints the grid on every click and move of the current cell: the colours follow
    // the selection.
    void MainGridClick();
    void About1Execute();

  protected:
    void closeEvent(QCloseEvent* event) override;

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
    // Runs a handler; an error that escapes it is shown in the error box.
    static void Run(const std::function<void()>& handler);

    void SyncSelectionFromView();
    Selection ViewSelection() const;
    void SyncSelectionToView();
    void AfterRowsMoved();
    void CommitOpenEditor();
    void ShowPopupMenu(const QPoint& position);

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
    MenuGlyphs glyphs_;

    QTableView* MainGrid = nullptr;
    GridModel* model_ = nullptr;
    QMenu* AdvPopupMenu1 = nullptr;
    std::unique_ptr<TextEditorService> activeEditor_;
    bool syncingSelection_ = false;
    bool rowsMoving_ = false;
    int clickedRow_ = 1; // where Shift+click on a row number extends from
};

extern TMainForm* MainForm;
