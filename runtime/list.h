// A growable array for the run time's own tables: windows, controls, bindings, pictures
// and finalisers. Elements are default-constructed and moved, nothing more; memory comes
// from operator new, so running out of it is handled where that is.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>

namespace rt {

template <class T>
class List {
public:
    List() = default;
    // `count` value-initialised elements.
    explicit List(std::size_t count) : items_(count ? new T[count]() : nullptr), size_(count), capacity_(count) {}
    List(List&& other) noexcept
        : items_(std::move(other.items_)), size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    List& operator=(List&& other) noexcept {
        if (this != &other) {
            clear();
            items_ = std::move(other.items_);
            size_ = std::exchange(other.size_, 0);
            capacity_ = std::exchange(other.capacity_, 0);
        }
        return *this;
    }
    List(const List&) = delete;
    List& operator=(const List&) = delete;
    ~List() { clear(); }

    void push_back(T value) {
        if (size_ == capacity_) grow();
        items_[size_++] = std::move(value);
    }

    // Destroys the elements first to last. The list is already empty while they go, so
    // whatever an element's destruction calls back into sees no half-destroyed entries.
    void clear() {
        std::unique_ptr<T[]> old = std::move(items_);
        const std::size_t count = std::exchange(size_, 0);
        capacity_ = 0;
        for (std::size_t i = 0; i < count; ++i) old[i] = T{};
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t i) { return items_[i]; }
    const T& operator[](std::size_t i) const { return items_[i]; }
    T& back() { return items_[size_ - 1]; }
    const T& back() const { return items_[size_ - 1]; }
    T* data() { return items_.get(); }
    const T* data() const { return items_.get(); }
    T* begin() { return items_.get(); }
    T* end() { return items_.get() + size_; }
    const T* begin() const { return items_.get(); }
    const T* end() const { return items_.get() + size_; }

private:
    void grow() {
        const std::size_t capacity = capacity_ ? capacity_ * 2 : 4;
        std::unique_ptr<T[]> items(new T[capacity]());
        for (std::size_t i = 0; i < size_; ++i) items[i] = std::move(items_[i]);
        items_ = std::move(items);
        capacity_ = capacity;
    }

    std::unique_ptr<T[]> items_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

template <class T>
bool contains(const List<T>& list, const T& value) {
    for (const T& item : list)
        if (item == value) return true;
    return false;
}

}  // namespace rt
