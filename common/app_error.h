#pragma once

#include <stdexcept>
#include <string>

// An error raised inside an event handler. Its message is a code page 932 text;
// the toolkit catches it at the event boundary and shows it in the error box.
class AppError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
