#include "uses/frmFindUses.h"

#include "history/EditHistory.h"
#include "rom/ProgramState.h"
#include "uses/MetatileUses.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<frmFindUses>& Instance()
{
    static QPointer<frmFindUses> window;
    return window;
}

QString Hex2(int n)
{
    return QString::number(n, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}
}

frmFindUses::frmFindUses(QWidget* owner, std::function<int()> selected, std::function<void(int)> goToRoom)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_selected(std::move(selected)), m_goToRoom(std::move(goToRoom))
{
    setWindowTitle(QStringLiteral("Find Uses"));
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    lstRooms = new QListWidget(this);
    lstRooms->setObjectName(QStringLiteral("lstRooms"));
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(6, 6, 6, 6);
    box->addWidget(lblSummary);
    box->addWidget(lstRooms);
    resize(420, 300);
    connect(lstRooms, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        lstRooms_Click(lstRooms->row(item));
    });
    connect(lstRooms, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        lstRooms_Click(lstRooms->row(item));
    });
    // Placing a metatile, an undo, a patch: the uses are counted again, once
    // the events queued now are handled (a stroke changes many cells at once).
    m_initLater.setSingleShot(true);
    m_initLater.setInterval(0);
    connect(&m_initLater, &QTimer::timeout, this, &frmFindUses::Init);
    connect(&RomHistory(), &EditHistory::imageChanged, this, [this] { m_initLater.start(); });
    Init();
}

void frmFindUses::Init()
{
    lstRooms->clear();
    m_rooms.clear();
    const int m = m_selected ? m_selected() : -1;
    if (RomFileName.isEmpty() || m < 0) {
        lblSummary->setText(QStringLiteral("No metatile is selected: click one in the tile selector."));
        return;
    }
    const LevelContext level{RomImage, ZoneTable, CurrentZone};
    const std::vector<RoomUses> uses = MetatileRoomUses(level, m);
    UseCount count;
    for (const RoomUses& room : uses) {
        lstRooms->addItem(RoomUsesText(room));
        m_rooms.push_back(room.Room);
        count.Cells += int(room.Cells.size());
        ++count.Rooms;
    }
    lblSummary->setText(QStringLiteral("Metatile %1 of Zone %2 is %3.%4")
                            .arg(Hex2(m))
                            .arg(CurrentZone + 1)
                            .arg(UseCountText(count))
                            .arg(uses.empty() ? QString() : QStringLiteral(" Click a room to show it.")));
}

void frmFindUses::lstRooms_Click(int row)
{
    if (row < 0 || row >= int(m_rooms.size()) || !m_goToRoom)
        return;
    m_goToRoom(m_rooms[std::size_t(row)]);
}

frmFindUses* LoadFindUses(QWidget* owner, std::function<int()> selected, std::function<void(int)> goToRoom)
{
    QPointer<frmFindUses>& window = Instance();
    if (!window)
        window = new frmFindUses(owner, std::move(selected), std::move(goToRoom));
    return window;
}

frmFindUses* LoadedFindUses()
{
    return Instance();
}
