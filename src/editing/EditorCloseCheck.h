#pragma once

class EditorHost;
class QWidget;

// Run when the item editor goes: when no window but the board stays open, the board is activated,
// so that the keyboard returns to it.
void EditorCloseCheck(EditorHost& host, const QWidget* closing);
