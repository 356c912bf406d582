// Builds a window's controls from its inventory: kind, name, caption, place in twips (15 twips
// to a pixel at 96 dpi), initial visibility and text colour.
#pragma once

#include <QLine>
#include <QRect>
#include <QRgb>
#include <QWidget>

class QLabel;

#include <optional>
#include <span>

enum class ControlKind {
    Label,
    CaptionLabel, // a label whose caption changes are reported
    TextBox,
    CheckBox,
    Button,
    DropDownList,
    DriveList,
    FolderList,
    FileList,
    PictureBox,
};

struct ControlEntry
{
    const char *name;
    ControlKind kind;
    const char *caption;
    int left, top, width, height; // twips
    bool shown = true;
    std::optional<QRgb> textColour = std::nullopt;
};

struct LineEntry
{
    const char *name;
    int x1, y1, x2, y2; // twips
    QRgb colour = 0x000000;
};

int twipsToPixels(int twips);
QRect twipsToPixels(int left, int top, int width, int height);

void setTextColour(QWidget *control, QRgb colour);

// The design's boxes were measured for "MS Sans Serif"; where a wider font stands in, a label's
// text would be cut off, so its font is made smaller until the text fits. Labels built here are
// fitted at once; call it again after setting a label's text.
void shrinkToFit(QLabel *label);
// The same for a button or a list: the widest of the texts must fit the control's width less
// the room its frame and arrow take.
void shrinkToWidth(QWidget *control, const QStringList &texts, int room);
inline constexpr int kLabelRoom = 2;     // pixels
inline constexpr int kButtonRoom = 12;   // pixels
inline constexpr int kDropDownRoom = 28; // pixels

void buildControls(QWidget *client, std::span<const ControlEntry> controls);
void buildLines(QWidget *client, std::span<const LineEntry> lines);

// The control of that name; the inventory guarantees it exists.
template <typename T> T *control(const QWidget *client, const char *name)
{
    T *found = client->findChild<T *>(QLatin1String(name));
    Q_ASSERT_X(found, "control", name);
    return found;
}
