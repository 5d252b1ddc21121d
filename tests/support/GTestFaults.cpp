#include "FakeServices.h"

#include <gtest/gtest.h>

namespace {

// Compiled into each gtest program: a fault of the test fails the running test.
const bool installed = [] {
    SetTestFaultReporter([](const std::string& what) { ADD_FAILURE() << what; });
    return true;
}();

} // namespace
