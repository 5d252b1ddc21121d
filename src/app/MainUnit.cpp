#include "MainUnit.h"

#include "AboutUnit.h"
#include "clipboard/EditCommands.h"
#include "GridDelegate.h"
#include "GridView.h"
#include "model/CellEditors.h"
#include "model/RowCommands.h"
#include "TabrixApplication.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QTableView>

#include <algorithm>

TMainForm* MainForm = nullptr;

namespace {

constexpr int ColumnWidths[ColumnCount] = {64, 75, 176, 158, 64, 64, 64, 101, 107};
constexpr int HeaderRowHeight = 22;
constexpr int ClientWidth = 944;
constexpr int ClientHeight = 304;

// Wine's copy of Tahoma (Debian's fonts-wine) lies outside the system's font folders.
// Only its regular face: the outlines of Wine's bold face are of regular weight (its bold
// is in bitmaps that Qt does not draw), so bold text is left to Qt's emboldening.
void AddWinesTahoma() {
    const char* const file = "/usr/share/wine/fonts/tahoma.ttf";
    if (!QFontDatabase::families().contains("Tahoma") && QFile::exists(file)) {
        QFontDatabase::addApplicationFont(file);
    }
}

QFont WindowFont() {
    // Tahoma where it exists; elsewhere a sans serif no wider, so that the headers fit
    // their laid-out columns, before Qt's own nearest match.
    AddWinesTahoma();
    QFont::insertSubstitutions("Tahoma", {"Liberation Sans", "Arial", "Nimbus Sans",
                                          "DejaVu Sans Condensed", "DejaVu Sans"});
    QFont font("Tahoma");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

template <typename Service, typename QtService>
Service& Choose(Service* override, const std::unique_ptr<QtService>& fallback) {
    return override ? *override : *fallback;
}

} // namespace

TMainForm::TMainForm(const PlatformOverrides& overrides, QWidget* parent)
    : QMainWindow(parent), qtMessageBox_(std::make_unique<QtMessageBox>(this)),
      qtClipboard_(std::make_unique<QtClipboard>()),
      qtFileDialogs_(std::make_unique<QtFileDialogs>(this)),
      qtColourDialog_(std::make_unique<QtColourDialog>(this)),
      qtSettings_(std::make_unique<QSettingsBackend>()),
      services_{Choose(overrides.messageBox, qtMessageBox_),
                Choose(overrides.clipboard, qtClipboard_),
                Choose(overrides.fileDialogs, qtFileDialogs_),
                Choose(overrides.colourDialog, qtColourDialog_),
                *this,
                *this},
      settings_(overrides.settings ? *overrides.settings : *qtSettings_),
      document_(*this), edit_{table_, settings_, document_, services_}, documentContext_{edit_,
                                                                                         document_},
      history_(table_, document_) {
    setObjectName("MainForm");
    setWindowTitle("Marvane Tabrix");
    setFont(WindowFont());

    CreateGrid();
    CreateActions();
    CreateMenus();

    move(252, 259);
    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    FitToScreen();

    settings_.LoadSettings();
    for (const char* name :
         {"Autoincrementgroupaddress1", "Autoincrementvariableindex1", "Createnewrowonedit1"}) {
        QAction* item = FindAction(name);
        item->setChecked(settings_.Option(item->property("tag").toInt()));
    }
    document_.UntitledCounter = 0;
    history_.SetChangedCallback([this] { UpdateUndoEntries(); });
    model_->SetHistory(&history_);
    FindAction("FileNew1")->trigger();
}

TMainForm::~TMainForm() {
    // The model stops observing the table before the table goes; the controller, which
    // follows both, goes first.
    delete controller_;
    controller_ = nullptr;
    delete MainGrid;
    MainGrid = nullptr;
    delete model_;
    model_ = nullptr;
}

void TMainForm::CreateGrid() {
    auto* view = new GridView(this);
    MainGrid = view;
    MainGrid->setObjectName("MainGrid");
    model_ = new GridModel(edit_, settings_, this);
    controller_ = new GridController(*view, *model_, edit_, this);
    connect(controller_, &GridController::clickedOrMoved, this, &TMainForm::MainGridClick);
    MainGrid->setItemDelegate(new GridDelegate(*model_, MainGrid));
    // One rectangle, as the commands take the selection: Ctrl+click adds no second piece.
    MainGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    MainGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    MainGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::AnyKeyPressed);
    MainGrid->setTabKeyNavigation(true);
    MainGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MainGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MainGrid->verticalHeader()->hide();
    MainGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MainGrid->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);

    QHeaderView* header = MainGrid->horizontalHeader();
    model_->SetFixedCellFont(font());
    header->setFixedHeight(HeaderRowHeight);
    header->setHighlightSections(false);
    header->setSectionsMovable(false);
    for (int column = 0; column < ColumnCount; ++column) {
        // The laid-out width, or wider where this font needs it to show the whole caption.
        header->resizeSection(column,
                              std::max(ColumnWidths[column], header->sectionSizeHint(column)));
        header->setSectionResizeMode(column, MainGridColumnSize(column) ? QHeaderView::Interactive
                                                                        : QHeaderView::Fixed);
    }
    setCentralWidget(MainGrid);
    MainGrid->setFocus(); // typing goes to the grid as soon as the window shows

    MainGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(MainGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { ShowPopupMenu(position); });
    // Shift+F10, the desktop's other key for it, opens it at the current cell.
    new QShortcut(
        QKeySequence(Qt::SHIFT | Qt::Key_F10), MainGrid,
        [this] {
            const QRect cell = MainGrid->visualRect(MainGrid->currentIndex());
            ShowPopupMenu(cell.isValid() ? cell.center() : QPoint(0, 0));
        },
        Qt::WidgetWithChildrenShortcut);
}

QAction* TMainForm::AddAction(const char* name, const char* category, const char* caption,
                              const QKeySequence& shortcut, int glyph, const char* hint,
                              std::function<void()> handler) {
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(name);
    action->setProperty("category", category);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    glyphs_.SetImageIndex(action, glyph);
    if (hint) {
        const QStringList parts = QString::fromUtf8(hint).split('|');
        action->setProperty("hint", QString::fromUtf8(hint));
        action->setToolTip(parts.value(0));
        action->setStatusTip(parts.value(1));
    }
    const bool commitsEditor = GridController::CommitsEditorFirst(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this,
            [this, action, commitsEditor, handler = std::move(handler)] {
                if (commitsEditor) {
                    TabrixApplication::Run([this] { controller_->CommitOpenEditor(); });
                }
                RunCommand(action->objectName().toLatin1().constData(), action->text(), handler);
            });
    addAction(action); // the shortcut works wherever the focus is in the window
    return action;
}

void TMainForm::RunCommand(const char* name, const QString& caption,
                           const std::function<void()>& handler) {
    static const QStringList tableCommands = {"EditCut1",       "EditPaste1",     "EditDelete1",
                                              "EditInsertRow1", "EditAppendRow1", "EditDeleteRow1"};
    const QString command = QString::fromLatin1(name);
    const int untitledBefore = document_.UntitledCounter;
    const int writesBefore = document_.WriteCount;
    if (tableCommands.contains(command)) {
        // The step is named for the command: "Cu&t" is "Cut", "D&elete row" "Delete row".
        const HistoryStep step(&history_, ToUtf8(QString(caption).remove('&')));
        TabrixApplication::Run(handler);
    } else {
        TabrixApplication::Run(handler);
    }
    if (document_.UntitledCounter != untitledBefore) {
        history_.Clear(!document_.FileName.empty()); // New, Open, or Exit's New
    } else if (document_.WriteCount != writesBefore) {
        history_.MarkSaved();
    }
}

void TMainForm::UpdateUndoEntries() {
    struct Entry {
        const char* action;
        const char* item;
        const char* verb;
        bool enabled;
        std::string step;
    };
    for (const Entry& entry :
         {Entry{"EditUndo1", "Undo1", "&Undo", history_.CanUndo(), history_.UndoName()},
          Entry{"EditRedo1", "Redo1", "&Redo", history_.CanRedo(), history_.RedoName()}}) {
        QString caption = QString::fromLatin1(entry.verb);
        if (!entry.step.empty()) {
            caption += ' ' + ToQString(entry.step);
        }
        QAction* action = FindAction(entry.action);
        action->setText(caption);
        glyphs_.EnableMenuEntry(action, entry.enabled);
        if (QAction* item = FindAction(entry.item)) {
            item->setText(caption + '\t' + action->shortcut().toString(QKeySequence::NativeText));
            glyphs_.EnableMenuEntry(item, entry.enabled);
        }
    }
}

void TMainForm::CreateActions() {
    DocumentContext& doc = documentContext_;
    EditContext& edit = edit_;
    const QKeySequence none;
    AddAction("FileNew1", "File", "&New", QKeySequence("Ctrl+N"), 1, nullptr,
              [&doc] { FileNewExecute(doc); });
    AddAction("FileOpen1", "File", "&Open...", QKeySequence("Ctrl+O"), 3,
              "Open|Opens an existing file", [&doc] { FileOpen1Execute(doc); });
    AddAction("FileSave1", "File", "&Save", QKeySequence("Ctrl+S"), 5, nullptr,
              [&doc] { SaveExecute(doc); });
    // The glyph pairs 6/7 and 8/9 of the image list are the undo and redo arrows.
    AddAction("EditUndo1", "Edit", "&Undo", QKeySequence("Ctrl+Z"), 7, nullptr,
              [this] { history_.Undo(); });
    AddAction("EditRedo1", "Edit", "&Redo", QKeySequence("Ctrl+Y"), 9, nullptr, [this] {
        history_.Redo();
    })->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    AddAction("EditCut1", "Edit", "Cu&t", QKeySequence("Ctrl+X"), 15,
              "Cut|Cuts the selection and puts it on the Clipboard", [&edit] { CutExecute(edit); });
    AddAction("EditCopy1", "Edit", "&Copy", QKeySequence("Ctrl+C"), 17,
              "Copy|Copies the selection and puts it on the Clipboard",
              [&edit] { CopyExecute(edit); });
    AddAction("FileSaveAs1", "File", "Save &As...", none, -1,
              "Save As|Saves the active file with a new name",
              [&doc] { static_cast<void>(FileSaveAs1Execute(doc)); });
    AddAction("EditPaste1", "Edit", "&Paste", QKeySequence("Ctrl+V"), 19,
              "Paste|Inserts Clipboard contents", [&edit] { PasteExecute(edit); });
    AddAction("EditDelete1", "Edit", "&Delete", QKeySequence(Qt::Key_Delete), 21,
              "Delete|Erases the selection", [&edit] { DeleteExecute(edit); });
    AddAction("EditInsertRow1", "Edit", "Insert &row", QKeySequence("Ctrl+R"), 13, nullptr,
              [&edit] { InsertRowExecute(edit); });
    AddAction("EditAppendRow1", "Edit", "&Append row", QKeySequence("Ctrl+Shift+R"), -1, nullptr,
              [&edit] { EditAppendRow1Execute(edit); });
    AddAction("EditDeleteRow1", "Edit", "D&elete row", QKeySequence("Ctrl+Del"), 11, nullptr,
              [&edit] { EditDeleteRow1Execute(edit); });
    AddAction("FileExit1", "File", "E&xit", none, -1, "Exit|Quits the application",
              [&doc] { FileExitExecute(doc); });
    AddAction("About1", "Help", "&About Tabrix", none, -1, nullptr, [this] { About1Execute(); });
}

QAction* TMainForm::AddLinkedItem(QMenu* menu, const char* name, QAction* action) {
    // The item shows the action's caption, shortcut and glyph but owns no shortcut of its
    // own, so that disabling the item leaves the action's shortcut working.
    QString caption = action->text();
    if (!action->shortcut().isEmpty()) {
        caption += '\t' + action->shortcut().toString(QKeySequence::NativeText);
    }
    auto* item = new QAction(caption, menu);
    item->setObjectName(name);
    item->setProperty("linkedAction", action->objectName());
    item->setProperty("hint", action->property("hint"));
    item->setToolTip(action->toolTip());
    item->setStatusTip(action->statusTip());
    glyphs_.SetImageIndex(item, MenuGlyphs::ImageIndex(action));
    connect(item, &QAction::triggered, action, &QAction::trigger);
    menu->addAction(item);
    return item;
}

QAction* TMainForm::AddOwnItem(QMenu* menu, const char* name, const QString& caption, int tag,
                               bool checkable, std::function<void()> handler) {
    auto* item = new QAction(caption, menu);
    item->setObjectName(name);
    item->setProperty("tag", tag);
    item->setCheckable(checkable);
    glyphs_.SetImageIndex(item, -1);
    connect(item, &QAction::triggered, this,
            [handler = std::move(handler)] { TabrixApplication::Run(handler); });
    menu->addAction(item);
    return item;
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("AdvMainMenu1");

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("File1");
    QAction* newItem = AddOwnItem(
        file, "New1", "&New\t" + QKeySequence("Ctrl+N").toString(QKeySequence::NativeText), 0,
        false,
        [this] { RunCommand("FileNew1", "New", [this] { FileNewExecute(documentContext_); }); });
    glyphs_.SetImageIndex(newItem, 1);
    AddLinkedItem(file, "Open1", FindAction("FileOpen1"));
    AddLinkedItem(file, "Save1", FindAction("FileSave1"));
    AddLinkedItem(file, "SaveAs1", FindAction("FileSaveAs1"));
    file->addSeparator()->setObjectName("N2");
    AddLinkedItem(file, "Exit1", FindAction("FileExit1"));

    QMenu* edit = bar->addMenu("&Edit");
    edit->setObjectName("Edit1");
    AddLinkedItem(edit, "Undo1", FindAction("EditUndo1"));
    AddLinkedItem(edit, "Redo1", FindAction("EditRedo1"));
    edit->addSeparator()->setObjectName("N8");
    AddLinkedItem(edit, "Cut1", FindAction("EditCut1"));
    AddLinkedItem(edit, "Copy1", FindAction("EditCopy1"));
    AddLinkedItem(edit, "Paste1", FindAction("EditPaste1"));
    AddLinkedItem(edit, "Delete1", FindAction("EditDelete1"));
    edit->addSeparator()->setObjectName("N3");
    AddLinkedItem(edit, "Insertrow1", FindAction("EditInsertRow1"));
    AddLinkedItem(edit, "Appendrow1", FindAction("EditAppendRow1"));
    AddLinkedItem(edit, "Deleterow1", FindAction("EditDeleteRow1"));

    QMenu* settings = bar->addMenu("&Settings");
    settings->setObjectName("Settings1");
    struct OptionItem {
        const char* name;
        const char* caption;
        int tag;
    };
    for (const OptionItem& option :
         {OptionItem{"Autoincrementgroupaddress1", "Auto increment &group address",
                     TagIncrementGroupAddress},
          OptionItem{"Autoincrementvariableindex1", "Auto increment variable &index",
                     TagIncrementVariableIndex},
          OptionItem{"Createnewrowonedit1", "&Create new row on edit", TagCreateRowOnEdit}}) {
        const int tag = option.tag;
        AddOwnItem(settings, option.name, option.caption, tag, true,
                   [this, tag] { settings_.BooleanMenuItemOnClick(tag); });
    }
    for (const OptionItem& colour :
         {OptionItem{"ChooseKonnexcellscolour1", "Choose &Konnex cells colour...",
                     TagKonnexCellColour},
          OptionItem{"ChooseModBuscellscolour1", "Choose &ModBus cells colour...",
                     TagModBusCellColour},
          OptionItem{"Choosecellwitherrorscolour1", "Choose cell with &errors colour...",
                     TagErrorCellColour}}) {
        const int tag = colour.tag;
        AddOwnItem(settings, colour.name, colour.caption, tag, false, [this, tag] {
            settings_.ColourChooseMenuItemOnClick(tag, services_.colourDialog, *this);
        });
    }

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("Help1");
    AddLinkedItem(help, "AboutTabrix1", FindAction("About1"));

    AdvPopupMenu1 = new QMenu(this);
    AdvPopupMenu1->setObjectName("AdvPopupMenu1");
    AddLinkedItem(AdvPopupMenu1, "Cut2", FindAction("EditCut1"));
    AddLinkedItem(AdvPopupMenu1, "Copy2", FindAction("EditCopy1"));
    AddLinkedItem(AdvPopupMenu1, "Paste2", FindAction("EditPaste1"));
    AddLinkedItem(AdvPopupMenu1, "Delete2", FindAction("EditDelete1"));
    AdvPopupMenu1->addSeparator()->setObjectName("N6");
    AddLinkedItem(AdvPopupMenu1, "Insertrow2", FindAction("EditInsertRow1"));
    AddLinkedItem(AdvPopupMenu1, "Deleterow2", FindAction("EditDeleteRow1"));
}

QAction* TMainForm::FindAction(const char* name) const {
    return findChild<QAction*>(name);
}

void TMainForm::MainGridClick() {
    MainGrid->viewport()->update();
}

void TMainForm::About1Execute() {
    if (AboutBox) {
        const ReturnFocusAfterDialog focus(this);
        AboutBox->exec();
    }
}

void TMainForm::FitToScreen() {
    const QScreen* shownOn = screen();
    if (!shownOn) {
        return;
    }
    // The frame around the client area is known once the window has been shown.
    const QRect frame = frameGeometry();
    const QRect fitted = FitIntoArea(frame, shownOn->availableGeometry());
    if (fitted == frame) {
        return;
    }
    move(fitted.topLeft());
    resize(size() - (frame.size() - fitted.size()));
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        FitToScreen();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // What is being typed counts as a change.
    TabrixApplication::Run([this] { controller_->CommitOpenEditor(); });
    bool mayClose = false;
    TabrixApplication::Run([&] { mayClose = FormCloseQuery(documentContext_); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
    FormClose(documentContext_);
}

void TMainForm::SetTitles(const std::string& title) {
    const QString text = ToQString(title);
    setWindowTitle(text);
    TabrixApplication::SetTitle(text);
}

void TMainForm::RepaintGrid() {
    MainGrid->viewport()->update();
}

void TMainForm::EnableMenuEntry(MenuEntry entry, bool enabled) {
    const char* name = entry == MenuEntry::Save1 ? "Save1" : "Cut1";
    if (QAction* item = FindAction(name)) {
        glyphs_.EnableMenuEntry(item, enabled);
    }
}

void TMainForm::Quit() {
    // exit, not quit: quit would ask every window to close and run the close query again.
    QCoreApplication::exit(0);
}

TextEditorService* TMainForm::ActiveEditor() {
    return controller_->ActiveEditor();
}

void TMainForm::ShowPopupMenu(const QPoint& position) {
    AdvPopupMenu1->popup(MainGrid->viewport()->mapToGlobal(position));
}
