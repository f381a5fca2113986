#pragma once
// The chat's local test partner: a small window above the chat's input frame whose label shows
// the last thing it received; a click on it sends that caption back to the chat. Opened and
// closed only by the chat (F3), which it borrows the socket of while open.

#include <QString>
#include <memory>

#include "Form.h"
#include "UdpSocket.h"

class ChatTestPartner;
class QLabel;

class ChatTest : public Form {
    Q_OBJECT
public:
    ChatTest();
    ~ChatTest() override;

    static constexpr double FormWidth = 4800;
    static constexpr double FormHeight = 600;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_CloseRequested() override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void Label1_Click();

    UdpSocket m_socket{this}; // its own Winsock1; the partner below drives it
    std::unique_ptr<ChatTestPartner> m_partner;
    QLabel* Label1{nullptr};
};
