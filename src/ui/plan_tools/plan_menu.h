#pragma once
// The plan tools' place in the frame: View > Measure (M in the plan), View >
// Background Image… and View > Centreline Overlay, and a status bar panel with
// the plan's mode or the active tool's read-out. The items act on the graphics
// window of the open document.
#include <QPointF>
#include <vector>

class QAction;

namespace meridal {

class TFormMain;

// Once, when the frame builds its menus and status bar.
void AddPlanToolItems(TFormMain& window);
// Each time the frame makes a graphics window.
void ConnectPlanTools(TFormMain& window);

// The source centreline of a fitted track over the plan, shown and its View item
// checked; the document's first change of the track switches it off.
void ShowCentrelineOverlay(TFormMain& window, std::vector<QPointF> points);
// View > Centreline Overlay: enabled while the plan has a centreline to show.
QAction* CentrelineOverlayItem(TFormMain& window);

}  // namespace meridal
