#pragma once
// View > Racing Line: the lap's line over the plan, coloured by its speeds. While
// the item is checked the frame wants the lap; each lap driven, and each change of
// the track that greys it, goes to the plan window of the open document.
class QAction;

namespace meridal {

class TFormMain;

// Once, after the frame made its lap runner.
void AddRacingLineItem(TFormMain& window);
QAction* RacingLineItem(TFormMain& window);

}  // namespace meridal
