// The objects a fetch found, in order: a value that can be counted, indexed and iterated.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

template <class T> class PHFetchResult {
public:
    using Objects = std::vector<std::shared_ptr<T>>;

    PHFetchResult() = default;
    explicit PHFetchResult(Objects objects) : objects_(std::move(objects)) {}

    size_t count() const { return objects_.size(); }
    // Null when out of range.
    std::shared_ptr<T> objectAtIndex(size_t index) const {
        return index < objects_.size() ? objects_[index] : nullptr;
    }
    std::shared_ptr<T> firstObject() const { return objectAtIndex(0); }
    std::shared_ptr<T> lastObject() const { return objects_.empty() ? nullptr : objects_.back(); }

    typename Objects::const_iterator begin() const { return objects_.begin(); }
    typename Objects::const_iterator end() const { return objects_.end(); }

private:
    Objects objects_;
};
