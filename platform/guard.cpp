#include "platform/guard.h"

#include <new>
#include <stdexcept>

#include "platform/dialogs.h"

namespace platform {

std::string ExceptionMessage(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return "Out of memory.";
    } catch (const std::out_of_range&) {
        return "Encountered an improper argument.";
    } catch (const std::invalid_argument&) {
        return "Encountered an improper argument.";
    } catch (const std::exception& e) {
        const std::string what = e.what();
        return what.empty() ? std::string("An unexpected error occurred.") : what;
    } catch (...) {
        return "An unexpected error occurred.";
    }
}

void ReportCurrentException() {
    const std::string text = ExceptionMessage(std::current_exception());
    // Showing the box must not throw out of a catch block in turn.
    try {
        MessageBox(text, kButtonsOk | kIconError);
    } catch (...) {
    }
}

bool Guarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

}  // namespace platform
