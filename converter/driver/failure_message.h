#pragma once

#include <string>

#include "model/failure.h"

// The one line the converter prints for `failure`.
std::string messageFor(const Failure& failure);
