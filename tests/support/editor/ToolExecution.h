// A tool's OK as the screen asks for it, run through to its answer: the answer must come
// on the main thread, once the background work has run, and without an error. `meanwhile`
// runs on the main thread after OK and before the background work (held by a task
// environment with manual global queues): what it changes must not reach the answer.
#pragma once

#include <functional>
#include <memory>

class PEImageToolBase;
class TaskEnvironment;
class UIImage;

std::shared_ptr<UIImage> executeAndWait(PEImageToolBase& tool, TaskEnvironment& environment,
                                        const std::function<void()>& meanwhile = {});
