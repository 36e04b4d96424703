#include <string>
#include <vector>

#include "driver/entry.h"

int main(int argc, char** argv) {
  return plovikMain(std::vector<std::string>(argv, argv + argc));
}
