#pragma once

#include <functional>

class QObject;
class QWidget;

namespace zw
{

// Calls `work` once, when the event loop is next free after `widget`'s first paint: for what a
// window's first frame does not need. Nothing is called once `context` is gone.
void runAfterFirstPaint(QWidget *widget, QObject *context, std::function<void()> work);

} // namespace zw
