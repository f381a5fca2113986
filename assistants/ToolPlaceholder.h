#pragma once
// The least window of a tool not built yet: its name, its size, a "Close" button, and the
// tool base's keys and return to the menu, so that every row of the Assistants menu opens
// something. RegisterToolPlaceholders() registers one under every tool name that has no
// window of its own yet; a folder registering the real window (before or after) replaces it.

#include "ToolWindow.h"

class QPushButton;

class ToolPlaceholder : public ToolWindow {
    Q_OBJECT
public:
    // partner: the writing pad and the samples beside it close together; empty otherwise.
    ToolPlaceholder(const QString& formName, double width, double height, const QString& partner = {},
        Role role = Role::Tool);

protected:
    void CloseTool() override;
    void Tool_Unload() override;
    void Form_Resize() override;

private:
    QString m_partner;
    QPushButton* m_close{nullptr};
};

void RegisterToolPlaceholders();
