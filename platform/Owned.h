#pragma once

#include <QList>

#include <memory>
#include <vector>

namespace Owned {

// Takes over the objects of a list an interface hands over (each made with new).
template <class T>
std::vector<std::unique_ptr<T>> list(const QList<T*>& handed)
{
    std::vector<std::unique_ptr<T>> owned;
    owned.reserve(static_cast<std::size_t>(handed.size()));
    for (T* item : handed)
        owned.emplace_back(item);
    return owned;
}

} // namespace Owned
