// The host's property value classes: the extension hands them to the property sheet, the host reads the
// string member and calls the virtual operations. Both sides create and destroy them, so their small
// behaviour lives here. C++ only; the virtual operations use the compiler's default member convention.
#ifndef NIMBO_HOST_PROPERTY_VALUES_H
#define NIMBO_HOST_PROPERTY_VALUES_H

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "vohost.h"

// A property value; the slot order of the virtual operations is part of the host's interface.
class CPropValue {
 public:
  virtual ~CPropValue() = default;
  virtual void Release() = 0;
  virtual CPropValue* Clone() = 0;
  virtual bool Equals(CPropValue* other) = 0;
  virtual uint32_t GetTypeCode() = 0;
};

// The four characters STRW, S in the most significant byte.
constexpr uint32_t kPropTypeWString = 0x53545257u;

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
class CPropWStringValue : public CPropValue {
 public:
  explicit CPropWStringValue(const voChar* text) : m_zero(0), m_pStr(duplicatePropText(text)) {}

  ~CPropWStringValue() override = default;

  void Release() override {
    std::free(m_pStr);
    m_pStr = nullptr;
    delete this;
  }

  CPropValue* Clone() override {
    static const voChar empty[1] = {0};
    return new CPropWStringValue(m_pStr ? m_pStr : empty);
  }

  bool Equals(CPropValue* other) override {
    if (!other || other->GetTypeCode() != kPropTypeWString) return false;
    auto* text = static_cast<CPropWStringValue*>(other);
    if (!m_pStr || !text->m_pStr) return !m_pStr && !text->m_pStr;
    size_t i = 0;
    while (m_pStr[i] && m_pStr[i] == text->m_pStr[i]) ++i;
    return m_pStr[i] == text->m_pStr[i];
  }

  uint32_t GetTypeCode() override { return kPropTypeWString; }

  uint32_t m_zero;  // always 0
  voChar* m_pStr;   // owned; null after Release or when the duplicate failed
};

#endif
