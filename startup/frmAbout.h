#pragma once
// The About panel beside the start menu: title, version, credit lines, a seal, and two links
// (the web site and a mail to the makers) that light up under the pointer.

#include <QUrl>

#include "ControlKit.h"
#include "MenuPanel.h"

class QLabel;

class frmAbout : public MenuPanel {
    Q_OBJECT
public:
    frmAbout();

    // The index of the lit link label (5 or 6); 3 or below means none is lit.
    qint16 HighlightedLink{0};

    // Where the two links lead.
    static QUrl WebAddress();
    static QUrl MailAddress();

protected:
    void Form_Load() override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void Label2_MouseMove(int index);
    void Label2_Click(int index);
    void Form_MouseMove();

    QLabel* Label1{nullptr};
    Kit::ControlRow<QLabel> Label2{this, "Label2"}; // 0 title, 1 version, 2 author, 3 rights, 5 web, 6 mail
    QLabel* Image1{nullptr};
};
