#pragma once
// The character pop-up. Stands here as an empty window until the pop-up is built; the
// reading windows already call its two entry points.

#include <QString>

#include "Form.h"

class Zoom : public Form {
    Q_OBJECT
public:
    Zoom();

    // Shows ch large beside the pointer with its readings, the one its neighbours prevCh and
    // nextCh ("" when missing or not Chinese) pick first. formLeft/formTop are the calling
    // window's place, ctlLeft/ctlTop its text box's, x/y the pointer in the box (all twips);
    // offset is the distance kept from the pointer.
    void ChaZhao(const QString& ch, const QString& prevCh, const QString& nextCh, double formLeft, double ctlLeft,
                 double x, double formTop, double ctlTop, double y, qint16 offset);
    // The same for text with the one given reading pinyin (numbered, e.g. "h.ao3").
    void ShowPinYin(const QString& text, const QString& pinyin, double formLeft, double ctlLeft, double x,
                    double formTop, double ctlTop, double y, qint16 offset);
};
