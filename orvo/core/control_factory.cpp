#include "orvo/control_factory.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <mutex>

namespace Orvo {
namespace {

// Each factory's places run 0, 1, 2, ... without gaps or repeats.
constexpr bool PlacesAreContiguous(int FactoryClass::*place) {
    int count = 0;
    for (const FactoryClass& entry : kFactoryClasses) {
        count += entry.*place != kNotListed ? 1 : 0;
    }
    for (int expected = 0; expected < count; ++expected) {
        int found = 0;
        for (const FactoryClass& entry : kFactoryClasses) {
            found += entry.*place == expected ? 1 : 0;
        }
        if (found != 1) {
            return false;
        }
    }
    return true;
}
static_assert(PlacesAreContiguous(&FactoryClass::dialogPlace), "dialog places have a gap");
static_assert(PlacesAreContiguous(&FactoryClass::panelPlace), "panel places have a gap");

std::vector<const wchar_t*> NamesInPlaceOrder(int FactoryClass::*place) {
    std::vector<const FactoryClass*> listed;
    for (const FactoryClass& entry : kFactoryClasses) {
        if (entry.*place != kNotListed) {
            listed.push_back(&entry);
        }
    }
    std::sort(listed.begin(), listed.end(), [place](const FactoryClass* a, const FactoryClass* b) {
        return a->*place < b->*place;
    });
    std::vector<const wchar_t*> names;
    names.reserve(listed.size());
    for (const FactoryClass* entry : listed) {
        names.push_back(entry->name);
    }
    return names;
}

struct Registry {
    std::mutex lock;  // guards creators
    std::map<std::wstring, ControlCreator> creators;
};

// Built on first use: registrations run while the library is loaded, in no fixed order.
Registry& GetRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

const std::vector<const wchar_t*>& ControlFactory::GetNames(FactoryTable table) {
    static const std::vector<const wchar_t*> dialog = NamesInPlaceOrder(&FactoryClass::dialogPlace);
    static const std::vector<const wchar_t*> panel = NamesInPlaceOrder(&FactoryClass::panelPlace);
    return table == FactoryTable::kDialog ? dialog : panel;
}

bool ControlFactory::IsListed(FactoryTable table, const wchar_t* className) {
    if (className == nullptr || *className == L'\0') {
        return false;
    }
    for (const wchar_t* name : GetNames(table)) {
        if (std::wcscmp(name, className) == 0) {
            return true;
        }
    }
    return false;
}

bool ControlFactory::Register(const wchar_t* className, ControlCreator creator) {
    if (className == nullptr || creator == nullptr ||
        GroupOf(className) == ConstructorGroup::kNone) {
        return false;
    }
    Registry& registry = GetRegistry();
    std::lock_guard<std::mutex> lock(registry.lock);
    return registry.creators.emplace(className, creator).second;
}

void ControlFactory::Unregister(const wchar_t* className) {
    if (className == nullptr) {
        return;
    }
    Registry& registry = GetRegistry();
    std::lock_guard<std::mutex> lock(registry.lock);
    registry.creators.erase(className);
}

bool ControlFactory::IsRegistered(const wchar_t* className) {
    if (className == nullptr) {
        return false;
    }
    Registry& registry = GetRegistry();
    std::lock_guard<std::mutex> lock(registry.lock);
    return registry.creators.count(className) != 0;
}

std::unique_ptr<MControl> ControlFactory::Create(FactoryTable table, const wchar_t* className,
                                                 MObject* parent, UINT id, const RECT& rect,
                                                 const wchar_t* text, int visible, int enabled) {
    if (!IsListed(table, className)) {
        return nullptr;
    }
    ControlCreator creator = nullptr;
    {
        Registry& registry = GetRegistry();
        std::lock_guard<std::mutex> lock(registry.lock);
        const auto found = registry.creators.find(className);
        if (found == registry.creators.end()) {
            return nullptr;
        }
        creator = found->second;
    }
    return std::unique_ptr<MControl>(
        creator(parent, id, rect, text != nullptr ? text : L"", visible, enabled));
}

ControlRegistration::ControlRegistration(const wchar_t* className, ControlCreator creator) {
    ControlFactory::Register(className, creator);
}

}  // namespace Orvo
