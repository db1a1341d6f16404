#pragma once
// The plan tools' place in the frame: View > Measure (M in the plan) and View >
// Background Image…, and a status bar panel with the plan's mode or the active
// tool's read-out. The items act on the graphics window of the open document.
namespace meridal {

class TFormMain;

// Once, when the frame builds its menus and status bar.
void AddPlanToolItems(TFormMain& window);
// Each time the frame makes a graphics window.
void ConnectPlanTools(TFormMain& window);

}  // namespace meridal
