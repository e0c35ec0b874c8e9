#pragma once
// The exception boundary. Every handler the layer calls runs inside Guarded: an exception that
// escapes it is shown in a message box and the operation is abandoned, the program goes on.
#include <exception>
#include <functional>
#include <string>

namespace platform {

// The message shown for an exception.
std::string ExceptionMessage(const std::exception_ptr& error);

// Runs the work; returns false (after the message box) when it threw.
bool Guarded(const std::function<void()>& work);

// Shows the message for the exception being handled (call inside a catch block).
void ReportCurrentException();

}  // namespace platform
