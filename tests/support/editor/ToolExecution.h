// A tool's OK as the screen asks for it, run through to its answer: the answer must come
// on the main thread, once the background work has run, and without an error.
#pragma once

#include <memory>

class PEImageToolBase;
class TaskEnvironment;
class UIImage;

std::shared_ptr<UIImage> executeAndWait(PEImageToolBase& tool, TaskEnvironment& environment);
