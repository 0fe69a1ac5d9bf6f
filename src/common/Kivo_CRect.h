#pragma once

#include <QtGlobal>

class QWidget;

// A form control's rectangle while design mode drags or sizes it: taken from
// the control, moved between screen pixels and twips of the control's parent
// window, and given back. The edges are plain fields in whatever unit was put
// in; all start at 0.
//
// A line control (LineControl) is held as the rectangle its end points span,
// normalized, with LineFlags remembering which way the line runs, so that it
// is given back running the same way. Any other control is a widget placed
// by its twips geometry.
class Kivo_CRect
{
public:
    // Bits of LineFlags.
    enum LineFlag : qint32 {
        RightToLeft = 1, // X1 > X2
        BottomToTop = 2, // Y1 > Y2
    };

    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Right = 0;
    qint32 Bottom = 0;
    qint32 LineFlags = 0;

    // Right - Left and Bottom - Top; writing one moves Right or Bottom. Any
    // result beyond 32 bits throws Err (Overflow), as do the conversions.
    qint32 Width() const;
    void setWidth(qint32 width);
    qint32 Height() const;
    void setHeight(qint32 height);

    // The calls that take a control throw Err (InvalidArgument) without one,
    // except ScreenToTwips, which then leaves the rectangle as it is.

    void SetRectToCtrl(const QWidget *control);
    // Normalizes the rectangle. A drop-down ("m_aCombo") keeps its height,
    // which its style decides.
    void SetCtrlToRect(QWidget *control);

    // Between screen pixels and twips of the control's parent window, at the
    // horizontal twips per pixel of the control's screen for both axes.
    void ScreenToTwips(const QWidget *control);
    void TwipsToScreen(const QWidget *control);

    void NormalizeRect();
    // Inside on the left and top edges, outside on the right and bottom ones.
    bool PtInRect(float x, float y) const;
};
