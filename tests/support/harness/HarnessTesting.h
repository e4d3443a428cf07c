// What a test program that plays touches sets up once at start: UIKit's classes are
// registered and, around every test, the touch injector is put back and lets time pass
// through the test's task environment (real time where a test made none).
#pragma once

void setUpHarnessTesting();
