// What a test program that plays touches sets up once at start: UIKit's classes are
// registered and, around every test, the touch injector is put back and lets time pass
// through the test's task environment (a test that plays a waiting gesture makes one).
#pragma once

void setUpHarnessTesting();
