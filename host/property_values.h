// The host's property value classes: the extension hands them to the property sheet, the host reads the
// string member and calls the virtual operations. Both sides create and destroy them, so their small
// behaviour lives here.
//
// The slot table is the host's: five slots, the first a deleting destructor that takes a flags word, the
// way the host's compiler lays out a class with a virtual destructor. A C++ virtual destructor would not
// do: GCC gives it two slots and shifts every operation after it. So there is none; slot 0 is written
// out, and the object is only ever deleted through it or Release. On 32-bit x86 every slot takes `this`
// in ECX (thiscall); elsewhere `this` comes first, as the platform's C convention passes it.
#ifndef NIMBO_HOST_PROPERTY_VALUES_H
#define NIMBO_HOST_PROPERTY_VALUES_H

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "vohost.h"

#if defined(_WIN32) && defined(__i386__)
#define VO_THISCALL __attribute__((thiscall))
#else
#define VO_THISCALL
#endif

// Slot 0's flags word: bit 0 asks the destructor to free the object's memory too.
constexpr uint32_t kPropDeleteMemory = 1;

// A property value. Equals answers 0 or 1 in the whole register, so a host that reads it as a byte and
// one that reads it as a 32-bit BOOL agree.
class CPropValue {
 public:
  virtual void* VO_THISCALL DeletingDestructor(uint32_t flags) = 0;
  virtual void VO_THISCALL Release() = 0;
  virtual CPropValue* VO_THISCALL Clone() = 0;
  virtual int32_t VO_THISCALL Equals(CPropValue* other) = 0;
  virtual uint32_t VO_THISCALL GetTypeCode() = 0;

 protected:
  ~CPropValue() = default;
};

// The four characters STRW, S in the most significant byte.
constexpr uint32_t kPropTypeWString = 0x53545257u;

// The slot table as plain data. A value the host made is no object of ours: its slots and members are
// read through this description, never through a C++ virtual call.
#if defined(_WIN32) && defined(__i386__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"  // thiscall on a plain pointer: the host's member function
#endif
struct voPropSlots {
  void*(VO_THISCALL* deletingDestructor)(void* self, uint32_t flags);
  void(VO_THISCALL* release)(void* self);
  void*(VO_THISCALL* clone)(void* self);
  int32_t(VO_THISCALL* equals)(void* self, void* other);
  uint32_t(VO_THISCALL* getTypeCode)(void* self);
};
#if defined(_WIN32) && defined(__i386__)
#pragma GCC diagnostic pop
#endif

// Any text value as the host lays it out: the slot table, a 32-bit word, the text.
struct voPropValueView {
  const voPropSlots* slots;
  uint32_t zero;
  voChar* text;
};

inline uint32_t propTypeCode(void* value) {
  return static_cast<voPropValueView*>(value)->slots->getTypeCode(value);
}

// The text of a value whose type code is kPropTypeWString.
inline const voChar* propText(void* value) {
  return static_cast<voPropValueView*>(value)->text;
}

// Duplicates a zero-terminated text with malloc, as the C runtime's wcsdup does; null when memory runs out.
inline voChar* duplicatePropText(const voChar* text) {
#ifdef _WIN32
  return _wcsdup(text);
#else
  size_t units = 0;
  while (text[units]) ++units;
  auto* copy = static_cast<voChar*>(std::malloc((units + 1) * sizeof(voChar)));
  if (copy) std::memcpy(copy, text, (units + 1) * sizeof(voChar));
  return copy;
#endif
}

// A text value. The destructor leaves the string alone: Release frees it before deleting the object.
class CPropWStringValue final : public CPropValue {
 public:
  explicit CPropWStringValue(const voChar* text) : m_zero(0), m_pStr(duplicatePropText(text)) {}

  void* VO_THISCALL DeletingDestructor(uint32_t flags) override {
    if (!(flags & kPropDeleteMemory)) return this;
    delete this;
    return nullptr;
  }

  void VO_THISCALL Release() override {
    std::free(m_pStr);
    m_pStr = nullptr;
    delete this;
  }

  CPropValue* VO_THISCALL Clone() override {
    static const voChar empty[1] = {0};
    return new CPropWStringValue(m_pStr ? m_pStr : empty);
  }

  // The other value may be the host's own: only its slot 4 and string member are read.
  int32_t VO_THISCALL Equals(CPropValue* other) override {
    if (!other || propTypeCode(other) != kPropTypeWString) return 0;
    const voChar* theirs = propText(other);
    if (!m_pStr || !theirs) return !m_pStr && !theirs;
    size_t i = 0;
    while (m_pStr[i] && m_pStr[i] == theirs[i]) ++i;
    return m_pStr[i] == theirs[i];
  }

  uint32_t VO_THISCALL GetTypeCode() override { return kPropTypeWString; }

  uint32_t m_zero;  // always 0
  voChar* m_pStr;   // owned; null after Release or when the duplicate failed

 private:
  ~CPropWStringValue() = default;
};

static_assert(sizeof(CPropWStringValue) == sizeof(voPropValueView),
              "the host reads the text member in place");

#endif
