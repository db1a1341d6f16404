#pragma once
// The plan tools' scenes for the documentation's pictures: a measuring drag
// along the track, and a track traced over a background image (an aerial view
// drawn for the purpose from the track itself, with grass, trees and kerbs).
class QString;

namespace meridal {

class TFormMain;

void ShowMeasureScene(TFormMain& window);
// A fitted centreline's plan alone, the whole circuit with its source line over it.
void ShowCentrelineScene(TFormMain& window);
// A run of sections selected in the plan by a click and a Shift+click, the tree
// and its list beside it.
void ShowSectionRunScene(TFormMain& window);
// The aerial picture is written into `folder`.
void ShowBackgroundScene(TFormMain& window, const QString& folder);

}  // namespace meridal
