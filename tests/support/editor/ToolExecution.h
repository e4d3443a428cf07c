// A tool's OK as the screen asks for it, run through to its answer: the answer must come
// on the main thread, once the background work has run, and without an error. With
// `meanwhile`, the background work is held (the global queues step by hand from then on)
// while it runs on the main thread: what it changes must not reach the answer.
#pragma once

#include <functional>
#include <memory>

class PEImageToolBase;
class TaskEnvironment;
class UIImage;

std::shared_ptr<UIImage> executeAndWait(PEImageToolBase& tool, TaskEnvironment& environment,
                                        const std::function<void()>& meanwhile = {});
