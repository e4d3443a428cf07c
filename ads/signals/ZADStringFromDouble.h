// How the engine writes a real number as text in requests: "%f" without trailing zeros
// or a trailing point (320.0 -> "320", 0.125 -> "0.125").
#pragma once

#include <string>

std::string ZADStringFromDouble(double value);
