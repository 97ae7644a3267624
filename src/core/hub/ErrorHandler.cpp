#include "core/hub/ErrorHandler.h"

#include <exception>

#include "core/text/InputErrors.h"

namespace varnek {

void ErrorHandler::ReportCurrentException() {
  try {
    throw;
  } catch (const AbandonedCommandError& error) {
    HandleAbandonedCommand(error.what());
  } catch (const std::exception& error) {
    HandleUnexpectedError(error.what());
  } catch (...) {
    // Nothing of the program throws anything else, but a library might.
    HandleUnexpectedError("unknown error");
  }
}

}  // namespace varnek
