#pragma once
// "Find Uses": every room and cell of the current zone that holds the
// selected metatile ("Room 05: 3 cells (...)"); a click on a room goes there.
// Kept current after every change of the image, the zone or the selection.
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QListWidget;

class frmFindUses : public QWidget {
    Q_OBJECT
public:
    // `selected` gives the selected metatile (-1 for none); `goToRoom` shows a room.
    frmFindUses(QWidget* owner, std::function<int()> selected, std::function<void(int)> goToRoom);

    // Counts the uses again for the current zone and selection.
    void Init();

    // The room each list row stands for.
    const std::vector<int>& Rooms() const { return m_rooms; }

    QLabel* lblSummary = nullptr;
    QListWidget* lstRooms = nullptr;

public slots:
    void lstRooms_Click(int row);

private:
    std::function<int()> m_selected;
    std::function<void(int)> m_goToRoom;
    std::vector<int> m_rooms;
    QTimer m_initLater;
};

// The window, created hidden on first use and owned by `owner`;
// LoadedFindUses returns it or nullptr.
frmFindUses* LoadFindUses(QWidget* owner, std::function<int()> selected, std::function<void(int)> goToRoom);
frmFindUses* LoadedFindUses();
