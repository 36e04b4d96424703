// Every line the converter prints goes to standard output and is flushed at
// once, so that a reading process (the wizard) sees it as soon as it is printed.
#pragma once

#include <string_view>

void printLine(std::string_view text);
