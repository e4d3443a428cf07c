// What a test program of the services sets up once at start: their classes are
// registered and, around every test, the shared rating prompt, ad controller and ad
// server host are dropped.
#pragma once

void setUpServicesTesting();
