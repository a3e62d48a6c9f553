// The CUPS array API for the array-set fallbacks: an ordered list of caller-owned pointers, kept
// sorted by the compare function when one is given (equal elements keep the order they were added
// in), else in the order added.
#include "core/binding/CupsFallbacks.h"

#include <climits>
#include <cstdlib>
#include <new>

namespace {

struct FallbackArray {
    cups_array_func_t compare;
    void* data;        // handed to every compare call
    void** elements;
    int count;
    int capacity;
};

FallbackArray* State(cups_array_t* a)
{
    return reinterpret_cast<FallbackArray*>(a);
}

bool Grow(FallbackArray& array)
{
    if (array.count < array.capacity) {
        return true;
    }
    if (array.capacity > INT_MAX / 2) {
        return false;
    }
    int capacity = array.capacity == 0 ? 16 : array.capacity * 2;
    void* grown = std::realloc(array.elements, static_cast<size_t>(capacity) * sizeof(void*));
    if (grown == nullptr) {
        return false;
    }
    array.elements = static_cast<void**>(grown);
    array.capacity = capacity;
    return true;
}

// Index after the last element that does not sort after e.
int InsertPosition(const FallbackArray& array, void* e)
{
    int low = 0;
    int high = array.count;
    while (low < high) {
        int mid = low + (high - low) / 2;
        if (array.compare(e, array.elements[mid], array.data) < 0) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

}  // namespace

extern "C" {

cups_array_t* my_cupsArrayNew(cups_array_func_t f, void* d)
{
    auto* array = new (std::nothrow) FallbackArray{};
    if (array == nullptr) {
        return nullptr;
    }
    array->compare = f;
    array->data = d;
    return reinterpret_cast<cups_array_t*>(array);
}

int my_cupsArrayAdd(cups_array_t* a, void* e)
{
    if (a == nullptr || e == nullptr) {
        return 0;
    }
    FallbackArray& array = *State(a);
    if (!Grow(array)) {
        return 0;
    }
    int at = array.compare != nullptr ? InsertPosition(array, e) : array.count;
    for (int i = array.count; i > at; --i) {
        array.elements[i] = array.elements[i - 1];
    }
    array.elements[at] = e;
    ++array.count;
    return 1;
}

int my_cupsArrayCount(cups_array_t* a)
{
    return a != nullptr ? State(a)->count : 0;
}

void* my_cupsArrayIndex(cups_array_t* a, int n)
{
    if (a == nullptr || n < 0 || n >= State(a)->count) {
        return nullptr;
    }
    return State(a)->elements[n];
}

void* my_cupsArrayFirst(cups_array_t* a)
{
    return my_cupsArrayIndex(a, 0);
}

void* my_cupsArrayLast(cups_array_t* a)
{
    return a != nullptr ? my_cupsArrayIndex(a, State(a)->count - 1) : nullptr;
}

}  // extern "C"

void FreeFallbackArray(cups_array_t* a)
{
    if (a == nullptr) {
        return;
    }
    std::free(State(a)->elements);
    delete State(a);
}
