#include "shell/frmVornEd.h"

#include "desktop/FileDrop.h"
#include "desktop/RecentFilesMenu.h"
#include "editors/frmPaletteEditor.h"
#include "editors/frmTileEdit.h"
#include "files/FileNames.h"
#include "gfx/Grid.h"
#include "gfx/LevelContext.h"
#include "gfx/Metatile.h"
#include "gfx/TileSelector.h"
#include "level/PaintStroke.h"
#include "level/RoomCopy.h"
#include "level/RoomLayout.h"
#include "level/RoomView.h"
#include "password/frmPassword.h"
#include "history/RecoveryJournal.h"
#include "rom/ProgramState.h"
#include "rom/RomFile.h"
#include "rom/ZoneCheck.h"
#include "shell/clsDialog.h"
#include "shell/frmAbout.h"
#include "shell/modODMenus.h"
#include "shell/PatchMenu.h"
#include "shell/TestPlayMenu.h"
#include "shell/WebLinks.h"
#include "widgets/ElidedLabel.h"
#include "widgets/MessageBox.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>

namespace {
constexpr int ClientWidth = 649;
constexpr int ClientHeight = 447;
constexpr int StatusBarHeight = 22;
const char* const RomFilter = "NES Images (*.NES)|*.nes|All Files (*.*)|*.*";
constexpr int VersionMajor = 0;
constexpr int VersionMinor = 3;
}

std::function<void()>& frmVornEd::EndProgram()
{
    static std::function<void()> end = [] { QCoreApplication::exit(0); };
    return end;
}

frmVornEd::frmVornEd(QWidget* parent) : QMainWindow(parent)
{
    buildControls();
    buildMenus();
    new PatchMenu(this);
    new TestPlayMenu(this);
    connectLevelControls();
    buildPaintingControls();
    buildPaintingMenus();
    // A new window starts without an image, so without a history.
    RomHistory().reset(RomFileName);
    connect(&RomHistory(), &EditHistory::imageChanged, this, &frmVornEd::OnImageChanged);
    connect(&RomHistory(), &EditHistory::modifiedChanged, this, [this](bool modified) {
        SetPanelText(3, modified ? QStringLiteral("Modified") : QString());
    });
    connect(&RomHistory(), &EditHistory::journalFailed, this, [this](const QString& reason) {
        ShowAppMessage(this, QStringLiteral("Unsaved changes are not protected against a crash of the "
                                            "editor, because the recovery file could not be written.\n\n%1")
                                 .arg(reason));
    });
    m_recent = new RecentFilesMenu(mnuFIle, this, [this](const QString& path) { OpenChosenFile(path); });
    AcceptFileDrops(this, [this](const QString& path) { OpenChosenFile(path); });
    buildGraphicsMenus();
    // Load: caption without a file.
    setWindowTitle(CaptionFor(QString()));
    // The menus are drawn by the program, with pictures for these items.
    InstallMenus(this, true);
    RegisterMenuImage(mnuOpen->text(), ImgOpen, ImgOpenMask);
    RegisterMenuImage(mnuSave->text(), ImgSave, ImgSaveMask);
    RegisterMenuImage(mnuSaveAS->text(), ImgSaveAs, ImgSaveAsMask);
    RegisterMenuImage(mnuExit->text(), ImgExit, ImgExitMask);
    RegisterMenuArrayImages({mnuStageSelect.begin(), mnuStageSelect.end()}, ImgZone, ImgZoneMask, true);
    RegisterMenuArrayImages({mnuGrid.begin(), mnuGrid.end()}, ImgZone, ImgZoneMask, false);
}

frmVornEd::~frmVornEd() = default;

QString frmVornEd::CaptionFor(const QString& fileTitle)
{
    QString caption = QStringLiteral("%1 V%2.%3").arg(AppTitle()).arg(VersionMajor).arg(VersionMinor);
    if (!fileTitle.isNull())
        caption += QStringLiteral(" - ") + fileTitle;
    return caption;
}

void frmVornEd::buildControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight - StatusBarHeight);
    setCentralWidget(client);

    picEditor = new PictureBox(512, 384, client);
    picEditor->setObjectName(QStringLiteral("picEditor"));
    picEditor->move(16, 8);

    // Change (valueChanged) fires on arrow and track clicks, on program
    // assignments and when a thumb drag ends; Scroll (sliderMoved) fires
    // during the drag.
    hLevel_Frames = new QScrollBar(Qt::Horizontal, client);
    hLevel_Frames->setObjectName(QStringLiteral("hLevel_Frames"));
    hLevel_Frames->setGeometry(16, 392, 512, 13);
    hLevel_Frames->setRange(0, 0);
    hLevel_Frames->setTracking(false);

    picTile = new PictureBox(64, 256, client);
    picTile->setObjectName(QStringLiteral("picTile"));
    picTile->move(568, 40);

    hsTable = new QScrollBar(Qt::Horizontal, client);
    hsTable->setObjectName(QStringLiteral("hsTable"));
    hsTable->setGeometry(568, 296, 64, 13);
    hsTable->setRange(0, 63);
    hsTable->setPageStep(1);
    hsTable->setTracking(false);

    picSelectedTile = new PictureBox(64, 64, client);
    picSelectedTile->setObjectName(QStringLiteral("picSelectedTile"));
    picSelectedTile->move(568, 320);
    picSelectedTile->Tag = QStringLiteral("-1");

    cmdEditTile = new QPushButton(QStringLiteral("Edit Tile"), client);
    cmdEditTile->setObjectName(QStringLiteral("cmdEditTile"));
    cmdEditTile->setGeometry(576, 392, 49, 17);
    QFont small = cmdEditTile->font();
    small.setPixelSize(10);
    cmdEditTile->setFont(small);

    SB1 = new QStatusBar(this);
    SB1->setObjectName(QStringLiteral("SB1"));
    SB1->setFixedHeight(StatusBarHeight);
    SB1->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        // Panel 1 holds a path of any length: elided, it never widens the window.
        m_panels[i] = i == 0 ? new ElidedLabel(SB1) : new QLabel(SB1);
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        SB1->addWidget(m_panels[i], i == 0 ? 4 : 1);
    }
    // The modified panel keeps room for its word, empty or not.
    m_panels[2]->setObjectName(QStringLiteral("ModifiedPanel"));
    m_panels[2]->setMinimumWidth(m_panels[2]->fontMetrics().horizontalAdvance(QStringLiteral("Modified")) + 12);
    setStatusBar(SB1);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void frmVornEd::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto named = [](QAction* a, const char* name) { a->setObjectName(QLatin1String(name)); return a; };

    mnuFIle = bar->addMenu(QStringLiteral("&File"));
    mnuFIle->setObjectName(QStringLiteral("mnuFIle"));
    mnuOpen = named(mnuFIle->addAction(QStringLiteral("&Open")), "mnuOpen");
    FileFiller1 = named(mnuFIle->addSeparator(), "FileFiller1");
    mnuSave = named(mnuFIle->addAction(QStringLiteral("&Save")), "mnuSave");
    mnuSaveAS = named(mnuFIle->addAction(QStringLiteral("S&ave As")), "mnuSaveAS");
    FileFiller2 = named(mnuFIle->addSeparator(), "FileFiller2");
    mnuExit = named(mnuFIle->addAction(QStringLiteral("E&xit")), "mnuExit");
    mnuSave->setEnabled(false);
    mnuSaveAS->setEnabled(false);

    mnuEdit = bar->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuPalette = named(mnuEdit->addAction(QStringLiteral("&Palette")), "mnuPalette");
    mnuTileEditor = named(mnuEdit->addAction(QStringLiteral("&Tile Editor")), "mnuTileEditor");
    mnuLevel = mnuEdit->addMenu(QStringLiteral("&Level"));
    mnuLevel->setObjectName(QStringLiteral("mnuLevel"));
    for (int i = 0; i < 7; ++i) {
        mnuStageSelect[i] = mnuLevel->addAction(QStringLiteral("Zone %1").arg(i + 1));
        mnuStageSelect[i]->setObjectName(QStringLiteral("mnuStageSelect%1").arg(i));
        mnuStageSelect[i]->setCheckable(true);
    }
    mnuPalette->setEnabled(false);
    mnuTileEditor->setEnabled(false);
    mnuLevel->menuAction()->setEnabled(false);
    mnuEdit->menuAction()->setEnabled(false);
    buildEditHistoryMenus();

    mnuView = bar->addMenu(QStringLiteral("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    const char* gridCaptions[2] = {"Editor Grid", "Tile Selector Grid"};
    for (int i = 0; i < 2; ++i) {
        mnuGrid[i] = mnuView->addAction(QLatin1String(gridCaptions[i]));
        mnuGrid[i]->setObjectName(QStringLiteral("mnuGrid%1").arg(i));
        mnuGrid[i]->setCheckable(true);
        mnuGrid[i]->setEnabled(false);
    }
    mnuView->menuAction()->setEnabled(false);

    mnuTools = bar->addMenu(QStringLiteral("&Tools"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    mnuGenerator = named(mnuTools->addAction(QStringLiteral("&Password Generator")), "mnuGenerator");

    mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuAbout = named(mnuHelp->addAction(QStringLiteral("&About")), "mnuAbout");
    mnuInternet = mnuHelp->addMenu(QStringLiteral("&Internet"));
    mnuInternet->setObjectName(QStringLiteral("mnuInternet"));
    mnuGantrow = named(mnuInternet->addAction(QStringLiteral("Gantrow")), "mnuGantrow");
    mnuEmal = named(mnuInternet->addAction(QStringLiteral("Email Author")), "mnuEmal");

    connect(mnuOpen, &QAction::triggered, this, &frmVornEd::mnuOpen_Click);
    connect(mnuSave, &QAction::triggered, this, &frmVornEd::mnuSave_Click);
    connect(mnuSaveAS, &QAction::triggered, this, &frmVornEd::mnuSaveAS_Click);
    connect(mnuExit, &QAction::triggered, this, &frmVornEd::mnuExit_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmVornEd::mnuAbout_Click);
    connect(mnuGantrow, &QAction::triggered, this, &frmVornEd::mnuGantrow_Click);
    connect(mnuEmal, &QAction::triggered, this, &frmVornEd::mnuEmal_Click);
    connect(mnuGenerator, &QAction::triggered, this, &frmVornEd::mnuGenerator_Click);
}

QString frmVornEd::PanelText(int panel) const
{
    return (panel >= 1 && panel <= 4) ? m_panels[std::size_t(panel - 1)]->text() : QString();
}

void frmVornEd::SetPanelText(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 4) {
        m_panels[std::size_t(panel - 1)]->setText(text);
        if (panel == 1)
            m_panels[0]->setToolTip(ElidedLabel::FullTextToolTip(text));
    }
}

void frmVornEd::buildEditHistoryMenus()
{
    // Undo and Redo follow the specified entries of the Edit menu; their
    // captions name the step they undo or redo.
    EditFiller1 = mnuEdit->addSeparator();
    EditFiller1->setObjectName(QStringLiteral("EditFiller1"));
    mnuUndo = mnuEdit->addAction(QStringLiteral("&Undo"));
    mnuUndo->setObjectName(QStringLiteral("mnuUndo"));
    mnuUndo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    mnuRedo = mnuEdit->addAction(QStringLiteral("&Redo"));
    mnuRedo->setObjectName(QStringLiteral("mnuRedo"));
    mnuRedo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    // The keys work from the editor windows too.
    for (QAction* action : {mnuUndo, mnuRedo}) {
        action->setShortcutContext(Qt::ApplicationShortcut);
        action->setEnabled(false);
    }
    QUndoStack& stack = RomHistory().stack();
    auto caption = [](const QString& verb, const QString& step) {
        return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
    };
    connect(&stack, &QUndoStack::canUndoChanged, mnuUndo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, mnuRedo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::undoTextChanged, mnuUndo,
            [this, caption](const QString& step) { mnuUndo->setText(caption(QStringLiteral("&Undo"), step)); });
    connect(&stack, &QUndoStack::redoTextChanged, mnuRedo,
            [this, caption](const QString& step) { mnuRedo->setText(caption(QStringLiteral("&Redo"), step)); });
    connect(mnuUndo, &QAction::triggered, this, &frmVornEd::mnuUndo_Click);
    connect(mnuRedo, &QAction::triggered, this, &frmVornEd::mnuRedo_Click);
}

void frmVornEd::mnuUndo_Click()
{
    RomHistory().undo();
}

void frmVornEd::mnuRedo_Click()
{
    RomHistory().redo();
}

clsDialog& frmVornEd::Dialog()
{
    if (!m_dialog)
        m_dialog = std::make_unique<clsDialog>();
    return *m_dialog;
}

void frmVornEd::SetFileCaption()
{
    // Control characters show as "?", and a "[*]" in the name stays visible.
    QString title = DisplayName(Dialog().VBGetFileTitle(RomFileName));
    if (!title.isNull())
        title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(CaptionFor(title));
}

void frmVornEd::mnuOpen_Click()
{
    if (!MayReplaceImage())
        return;
    // The dialog works on a copy, so a cancel leaves RomFileName as it was.
    QString fileName = RomFileName;
    QString fileTitle;
    bool readOnly = false;
    QString filter = QLatin1String(RomFilter);
    std::int32_t filterIndex = 1;
    std::uint32_t flags = 0;
    if (!Dialog().VBGetOpenFileName(fileName, fileTitle, true, false, &readOnly, false, &filter,
                                    &filterIndex, QCoreApplication::applicationDirPath(), QString(),
                                    QStringLiteral("NES"), this, &flags)) {
        if (Dialog().ExtendedError() == FnErrBufferTooSmall)
            ShowAppMessage(this, QStringLiteral("The file name is longer than %1 characters.")
                                     .arg(DialogTextLimit));
        return;
    }

    OpenRomPath(fileName);
}

bool frmVornEd::OpenRomPath(const QString& fileName)
{
    // Read first; only a complete image replaces the one in memory.
    RomBytes bytes;
    QString error;
    if (!LoadRomFile(fileName, bytes, error)) {
        ShowAppMessage(this, error);
        return false;
    }
    EndStroke();
    // The unsaved changes of the image now replaced were given up by the user.
    if (RomHistory().isModified())
        RomHistory().discardJournal();
    RomFileName = fileName;
    RomImage = std::move(bytes);
    RomHistory().reset(RomFileName);
    SetPanelText(1, RomFileName);
    mnuLevel->menuAction()->setEnabled(true);
    mnuSave->setEnabled(true);
    mnuSaveAS->setEnabled(true);
    SetFileCaption();
    mnuEdit->menuAction()->setEnabled(true);
    EnableZoneKeys();
    BuildZoneTable(RomImage, ZoneTable);
    ZoneTableProblems = CheckZones(RomImage, ZoneTable);
    RememberFile(RomFileName);
    // Zone, room and page stay; what is on screen now shows the new image.
    if (ZoneShown()) {
        DrawTable();
        DrawLevel();
        if (frmTileEdit* editor = LoadedTileEdit())
            editor->Init();
        if (frmPaletteEditor* editor = LoadedPaletteEditor())
            editor->Init();
        ZoneViewsChanged();
    }
    OfferRecovery();
    return true;
}

void frmVornEd::OfferRecovery()
{
    const QString folder = RomHistory().journalFolder();
    if (folder.isEmpty() || RomFileName.isEmpty())
        return;
    for (const QString& path : RecoveryJournal::LeftBehind(folder, RomFileName))
        if (OfferRecovery(path))
            return;
}

bool frmVornEd::OfferRecovery(const QString& path)
{
    QString error;
    const auto journal = ReadJournal(path, error);
    if (!journal) {
        ShowAppMessage(this, QStringLiteral("A recovery file for \"%1\" was found but cannot be used, so it "
                                            "was removed.\n\n%2").arg(RomFileName, error),
                       QMessageBox::Information);
        QFile::remove(path);
        return false;
    }
    if (journal->ImagePath != QFileInfo(RomFileName).absoluteFilePath()) {
        // Named for this file but made for another one: not ours to apply.
        ShowAppMessage(this, QStringLiteral("A recovery file for \"%1\" holds changes to another file (\"%2\"); "
                                            "it was ignored.").arg(RomFileName, journal->ImagePath),
                       QMessageBox::Information);
        return false;
    }
    const QString when = QLocale().toString(journal->Created, QLocale::ShortFormat);
    if (journal->BaseSize != RomImage.size() || journal->BaseCrc != JournalChecksum(RomImage)) {
        ShowAppMessage(this, QStringLiteral("Unsaved changes to \"%1\" from %2 were found, but the file has "
                                            "changed since then, so they cannot be restored. They were ignored.")
                                 .arg(RomFileName, when),
                       QMessageBox::Information);
        return false;
    }
    const JournalReplay replay = ReplayJournal(*journal, RomImage);
    if (replay.Image == RomImage) {
        // Nothing that differs from the file: nothing to offer.
        QFile::remove(path);
        return false;
    }
    MessageRequest question;
    question.Title = AppTitle();
    question.Icon = QMessageBox::Question;
    question.Text = QStringLiteral("Unsaved changes to \"%1\" from %2 were found. Restore them?").arg(RomFileName, when);
    const QString damage = journal->Damage.isEmpty() ? replay.Damage : journal->Damage;
    if (!damage.isEmpty())
        question.Text += QStringLiteral("\n\nThe recovery file is damaged (%1); the %2 changes before the "
                                        "damage can be restored.").arg(damage).arg(replay.Applied);
    question.Buttons = QMessageBox::Yes | QMessageBox::Discard;
    question.DefaultButton = QMessageBox::Yes;
    question.ButtonTexts[QMessageBox::Yes] = QStringLiteral("&Restore");
    if (ShowMessage(this, question) != QMessageBox::Yes) {
        QFile::remove(path);
        return true;
    }
    // The restored changes are one step, journaled afresh by this editor
    // (in the same file when that name was free, else the old one goes).
    RomHistory().replaceImage(QStringLiteral("Restore Unsaved Changes"), replay.Image.bytes());
    if (RomHistory().journalPath() != path)
        QFile::remove(path);
    return true;
}

void frmVornEd::OpenChosenFile(const QString& path)
{
    if (MayReplaceImage())
        OpenRomPath(path);
}

void frmVornEd::RememberFile(const QString& path)
{
    if (m_recent)
        m_recent->Remember(path);
}

bool frmVornEd::MayReplaceImage()
{
    return AskAboutUnsavedChanges() != UnsavedAnswer::Cancelled;
}

frmVornEd::UnsavedAnswer frmVornEd::AskAboutUnsavedChanges()
{
    if (RomFileName.isEmpty() || !RomHistory().isModified())
        return UnsavedAnswer::Discarded;
    MessageRequest question;
    question.Title = AppTitle();
    question.Icon = QMessageBox::Warning;
    question.Text = QStringLiteral("\"%1\" has unsaved changes. Do you want to save them?").arg(RomFileName);
    question.Buttons = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    question.DefaultButton = QMessageBox::Save;
    switch (ShowMessage(this, question)) {
    case QMessageBox::Save:
        return SaveImage() ? UnsavedAnswer::Saved : UnsavedAnswer::Cancelled;
    case QMessageBox::Discard:
        return UnsavedAnswer::Discarded;
    default:
        return UnsavedAnswer::Cancelled;
    }
}

void frmVornEd::mnuSave_Click()
{
    SaveImage();
}

bool frmVornEd::SaveImage()
{
    if (RomFileName.isEmpty())
        return false;
    QString error;
    if (!SaveRomFile(RomFileName, RomImage, error)) {
        ShowAppMessage(this, error);
        return false;
    }
    RomHistory().markSaved(RomFileName);
    RememberFile(RomFileName);
    return true;
}

void frmVornEd::mnuSaveAS_Click()
{
    QString fileName = RomFileName;
    QString fileTitle;
    QString filter = QLatin1String(RomFilter);
    std::int32_t filterIndex = 1;
    std::uint32_t flags = Ofn::PathMustExist;
    if (!Dialog().VBGetSaveFileName(fileName, fileTitle, true, &filter, &filterIndex,
                                    QCoreApplication::applicationDirPath(),
                                    QStringLiteral("Choose Location to Save Document to"),
                                    QStringLiteral("NES"), this, &flags)) {
        if (Dialog().ExtendedError() == FnErrBufferTooSmall)
            ShowAppMessage(this, QStringLiteral("The file name is longer than %1 characters.")
                                     .arg(DialogTextLimit));
        return;
    }
    // Only a completed write moves the editing to the new name.
    QString error;
    if (!SaveRomFile(fileName, RomImage, error)) {
        ShowAppMessage(this, error);
        return;
    }
    RomFileName = fileName;
    RomHistory().markSaved(RomFileName);
    SetPanelText(1, RomFileName);
    SetFileCaption();
    RememberFile(RomFileName);
}

void frmVornEd::mnuGenerator_Click()
{
    ShowPasswordWindow(this);
}

void frmVornEd::mnuExit_Click()
{
    close();
}

void frmVornEd::mnuAbout_Click()
{
    ShowAboutBox(this);
}

void frmVornEd::mnuGantrow_Click()
{
    OpenMakerWebPage();
}

void frmVornEd::mnuEmal_Click()
{
    StartMailToAuthor();
}

bool frmVornEd::Form_QueryUnload()
{
    if (!RomFileName.isEmpty() && RomHistory().isModified()) {
        switch (AskAboutUnsavedChanges()) {
        case UnsavedAnswer::Cancelled:
            return false;
        case UnsavedAnswer::Discarded:
            RomHistory().discardJournal();
            return true;
        case UnsavedAnswer::Saved:
            return true;
        }
    }
    MessageRequest question;
    question.Title = QStringLiteral("Quit");
    question.Text = QStringLiteral("Are You Sure You Want To Exit?");
    question.Icon = QMessageBox::Question;
    question.Buttons = QMessageBox::Yes | QMessageBox::No;
    question.DefaultButton = QMessageBox::No;
    return ShowMessage(this, question) == QMessageBox::Yes;
}

void frmVornEd::closeEvent(QCloseEvent* event)
{
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    RemoveMenus(this);
    EndProgram()();
}

// ---- Level view and tile selector ----

namespace {
LevelContext CurrentLevel()
{
    return LevelContext{RomImage, ZoneTable, CurrentZone};
}

// A number as the editor shows it: upper-case hexadecimal, two digits at least.
QString HexNumber(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}
}

void frmVornEd::connectLevelControls()
{
    for (int i = 0; i < int(mnuStageSelect.size()); ++i)
        connect(mnuStageSelect[std::size_t(i)], &QAction::triggered, this,
                [this, i] { mnuStageSelect_Click(i); });
    for (int i = 0; i < int(mnuGrid.size()); ++i)
        connect(mnuGrid[std::size_t(i)], &QAction::triggered, this, [this, i](bool checked) {
            // The menu has flipped the mark already; mnuGrid_Click flips it itself.
            mnuGrid[std::size_t(i)]->setChecked(!checked);
            mnuGrid_Click(i);
        });
    connect(hsTable, &QScrollBar::valueChanged, this, &frmVornEd::hsTable_Change);
    connect(hsTable, &QScrollBar::sliderMoved, this, &frmVornEd::hsTable_Scroll);
    connect(hLevel_Frames, &QScrollBar::valueChanged, this, &frmVornEd::hLevel_Frames_Change);
    connect(hLevel_Frames, &QScrollBar::sliderMoved, this, &frmVornEd::hLevel_Frames_Scroll);
    connect(picTile, &PictureBox::mouseDown, this, &frmVornEd::picTile_MouseDown);
    connect(picEditor, &PictureBox::mouseDown, this, &frmVornEd::picEditor_MouseDown);
    connect(cmdEditTile, &QPushButton::clicked, this, &frmVornEd::cmdEditTile_Click);
    connect(mnuPalette, &QAction::triggered, this, &frmVornEd::mnuPalette_Click);
    connect(mnuTileEditor, &QAction::triggered, this, &frmVornEd::mnuTileEditor_Click);
}

bool frmVornEd::ZoneShown() const
{
    if (RomFileName.isEmpty())
        return false;
    for (const QAction* zone : mnuStageSelect)
        if (zone->isChecked())
            return true;
    return false;
}

int frmVornEd::SelectedMetatile() const
{
    bool ok = false;
    const int n = picSelectedTile->Tag.toInt(&ok);
    return ok && n >= 0 && n <= 255 ? n : -1;
}

void frmVornEd::mnuStageSelect_Click(int Index)
{
    if (Index < 0 || Index >= int(mnuStageSelect.size()))
        return;
    for (int j = 0; j < int(mnuStageSelect.size()); ++j)
        if (ZoneTable[std::size_t(j)].TileBank != 0)
            mnuStageSelect[std::size_t(j)]->setChecked(false);
    mnuStageSelect[std::size_t(Index)]->setChecked(true);
    CurrentZone = std::int16_t(Index);
    picSelectedTile->Tag = QStringLiteral("-1");
    // Setting the values redraws through the change handlers when they move.
    hLevel_Frames->setValue(0);
    hLevel_Frames->setMaximum(ZoneTable[std::size_t(Index)].LastRoom);
    hsTable->setValue(0);
    hsTable->setMaximum(SelectorLastPage);
    for (QAction* grid : mnuGrid)
        grid->setEnabled(true);
    mnuView->menuAction()->setEnabled(true);
    // Both editors follow the zone, loaded hidden when not yet loaded.
    LoadPaletteEditor(this, EditorCalls())->Init();
    LoadTileEdit(this, EditorCalls())->Init();
    GraphicsZoneChosen();
    DrawTable();
    DrawLevel();
    ZoneViewsChanged();
}

void frmVornEd::mnuGrid_Click(int Index)
{
    if (Index < 0 || Index >= int(mnuGrid.size()))
        return;
    QAction* grid = mnuGrid[std::size_t(Index)];
    grid->setChecked(!grid->isChecked());
    if (Index == 0)
        DrawLevel();
    else
        DrawTable();
}

void frmVornEd::DrawLevel()
{
    if (!ZoneShown())
        return;
    const LevelContext level = CurrentLevel();
    const int room = hLevel_Frames->value();
    DrawRoom(level, room, picSelectedTile->canvas(), picEditor->canvas());
    DrawPreview(level, picSelectedTile->canvas(), SelectedMetatile());
    if (mnuGrid[0]->isChecked())
        DrawGrid(picEditor->canvas());
    DrawUseHighlight(picEditor->canvas());
    SetPanelText(2, RoomText(room));
    picEditor->canvas().refresh();
}

void frmVornEd::DrawTable()
{
    if (!ZoneShown())
        return;
    const LevelContext level = CurrentLevel();
    // While the thumb is dragged the page under it is drawn.
    DrawSelectorPage(level, hsTable->sliderPosition(), picSelectedTile->canvas(), picTile->canvas());
    DrawPreview(level, picSelectedTile->canvas(), SelectedMetatile());
    if (mnuGrid[1]->isChecked())
        DrawGrid(picTile->canvas());
    picTile->canvas().refresh();
}

void frmVornEd::hsTable_Change()
{
    DrawTable();
}

void frmVornEd::hsTable_Scroll()
{
    DrawTable();
}

void frmVornEd::picTile_MouseDown(int Button, Qt::KeyboardModifiers, double X, double Y)
{
    if (!ZoneShown() || Button != 1)
        return;
    const int n = SelectorMetatileAt(hsTable->value(), X, Y);
    DrawMetatile(CurrentLevel(), picSelectedTile->canvas(), std::uint8_t(n), ViewScale);
    picSelectedTile->Tag = QString::number(n);
    SelectionChanged();
}

void frmVornEd::cmdEditTile_Click()
{
    const int selected = SelectedMetatile();
    if (selected == -1)
        return;
    frmTileEdit* editor = LoadTileEdit(this, EditorCalls());
    editor->Init();
    editor->vsTile->setValue(selected);
    ShowTileEdit(editor);
}

MainViewCalls frmVornEd::EditorCalls()
{
    return MainViewCalls{[this] { DrawLevel(); }, [this] { DrawTable(); }};
}

void frmVornEd::mnuPalette_Click()
{
    frmPaletteEditor* editor = LoadPaletteEditor(this, EditorCalls());
    editor->show();
    editor->raise();
    editor->Init();
}

void frmVornEd::mnuTileEditor_Click()
{
    // Only with a zone on show: the editor's bytes belong to it.
    if (!ZoneShown())
        return;
    frmTileEdit* editor = LoadTileEdit(this, EditorCalls());
    editor->Init();
    editor->vsTile->setValue(0);
    ShowTileEdit(editor);
}

void frmVornEd::picEditor_MouseDown(int Button, Qt::KeyboardModifiers, double X, double Y)
{
    const int selected = SelectedMetatile();
    if (selected == -1 || RomFileName.isEmpty())
        return;
    const RoomCell cell = RoomCellAt(X, Y);
    if (Button != 1)
        return;
    const int room = hLevel_Frames->value();
    const auto write = PlaceMetatileWrite(CurrentLevel(), room, cell, std::uint8_t(selected));
    if (!write) {
        ShowAppMessage(this, QStringLiteral("The layout of room %1 lies outside the cartridge image; "
                                            "the metatile was not placed.").arg(HexNumber(room)));
        return;
    }
    // The press is the first cell of a stroke: the cells a drag paints
    // join its step (PaintStroke names it as this click while it has one cell).
    EndStroke();
    m_stroke = std::make_unique<PaintStroke>(RomHistory().newMergeKey(), room, std::uint8_t(selected), X, Y);
    if (RomHistory().apply(m_stroke->stepName(1), {*write}, m_stroke->mergeKey()) != EditResult::NoChange)
        m_stroke->cellChanged();
    // Only the clicked cell is repainted, from the preview.
    PaintCellFromPreview(cell);
}

void frmVornEd::PaintCellFromPreview(RoomCell cell)
{
    Canvas& view = picEditor->canvas();
    view.blit(cell.Column * CellSize, cell.Row * CellSize, CellSize, CellSize, picSelectedTile->canvas());
    view.refresh();
    if (mnuGrid[0]->isChecked()) {
        DrawGrid(view);
        view.refresh();
    }
    if (DrawUseHighlight(view))
        view.refresh();
}

void frmVornEd::OnImageChanged(const ImageChange& change)
{
    if (RomFileName.isEmpty())
        return;
    // Where the zones' data lies moved (a patch, its undo): read it again.
    const bool structure = change.Resized || change.touchesAny(ZoneStructureRanges(ZoneTable));
    if (structure) {
        BuildZoneTable(RomImage, ZoneTable);
        ZoneTableProblems = CheckZones(RomImage, ZoneTable);
    }
    if (!ZoneShown())
        return;
    const LevelContext level = CurrentLevel();
    // Moved zone data (room pointers, tables) shows everywhere, as graphics do.
    const bool graphics = structure || change.touchesAny(ZoneGraphicsRanges(level));
    // After an undo or redo the view goes to the room whose layout changed.
    if (change.Origin != ChangeOrigin::Edit) {
        const int current = hLevel_Frames->value();
        const std::int32_t shown = RoomLayoutOffset(level, current);
        if (shown == NoOffset || !change.touches(shown, RoomLayoutBytes)) {
            for (int room = 0; room <= hLevel_Frames->maximum(); ++room) {
                const std::int32_t at = RoomLayoutOffset(level, room);
                if (at != NoOffset && change.touches(at, RoomLayoutBytes)) {
                    hLevel_Frames->setValue(room);   // draws the room
                    if (graphics)
                        DrawTable();
                    return;
                }
            }
        }
    }
    if (graphics) {
        DrawTable();
        DrawLevel();
        return;
    }
    // Only layout bytes: the cells of the shown room that changed.
    const std::int32_t start = RoomLayoutOffset(level, hLevel_Frames->value());
    if (start == NoOffset || !change.touches(start, RoomLayoutBytes))
        return;
    Canvas& view = picEditor->canvas();
    // A cell given the selected metatile (a click, a stroke) is copied from
    // the preview, which holds its picture; any other is decoded there, and
    // the preview is drawn again afterwards.
    const int selected = SelectedMetatile();
    bool decoded = false;
    for (int index = 0; index < RoomLayoutBytes; ++index) {
        const std::int64_t at = std::int64_t(start) + index;
        if (!change.touches(at, 1))
            continue;
        const int m = RomImage.read(at);
        if (m < 0 || m != selected || decoded) {
            if (m < 0)
                DrawNoDataMetatile(picSelectedTile->canvas(), ViewScale);
            else
                DrawMetatile(level, picSelectedTile->canvas(), std::uint8_t(m), ViewScale);
            decoded = true;
        }
        view.blit((index % RoomColumns) * CellSize, (index / RoomColumns) * CellSize, CellSize, CellSize,
                  picSelectedTile->canvas());
    }
    if (decoded)
        DrawPreview(level, picSelectedTile->canvas(), selected);
    if (mnuGrid[0]->isChecked())
        DrawGrid(view);
    DrawUseHighlight(view);
    view.refresh();
}

void frmVornEd::hLevel_Frames_Change()
{
    DrawLevel();
}

void frmVornEd::hLevel_Frames_Scroll()
{
    if (!ZoneShown())
        return;
    // Only the text follows the thumb; the room is drawn when the drag ends.
    SetPanelText(2, RoomText(hLevel_Frames->sliderPosition()));
}
