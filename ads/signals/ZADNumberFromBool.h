// A flag as the number request parameters carry: 1 or 0, written "1" and "0".
#pragma once

#include <memory>

class NSNumber;

std::shared_ptr<NSNumber> ZADNumberFromBool(bool value);
