#pragma once
// The tree window's two image lists, drawn by the program: the node folders
// (closed for the normal image, open for the selected one, outlined in the
// colour of the object's kind) and the round badges of the property rows.
#include <QIcon>
#include <QPixmap>

namespace meridal {

inline constexpr int kNodeImageCount = 8;
inline constexpr int kRowImageCount = 7;
inline constexpr int kImageSize = 16;

// Node image i: folder pair i / 2 (track, section, altitude, wall), open when i is odd.
QPixmap NodeImage(int index);
// Row badge i (see the row image kinds of the property list).
QPixmap RowImage(int index);
// A node's icon: the normal image, and the selected image for a selected node.
QIcon NodeIcon(int image, int selectedImage);
QIcon RowIcon(int index);

}  // namespace meridal
