// Reading and writing a property bag's entries, keys looked up without
// regard to case and kept in the order first written.
#include "glimmet_property_bag.h"

GlimmetPropertyBag::GlimmetPropertyBag(std::initializer_list<std::pair<QString, QVariant>> values) {
  for (const auto& [key, value] : values) WriteProperty(key, value);
}

GlimmetPropertyBag::GlimmetPropertyBag(const QVariantMap& values) {
  for (auto it = values.cbegin(); it != values.cend(); ++it) WriteProperty(it.key(), it.value());
}

int GlimmetPropertyBag::IndexOf(const QString& name) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].first.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

QVariant GlimmetPropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const {
  const int i = IndexOf(name);
  return i < 0 ? defaultValue : entries_[static_cast<size_t>(i)].second;
}

void GlimmetPropertyBag::WriteProperty(const QString& name, const QVariant& value) {
  const int i = IndexOf(name);
  if (i < 0)
    entries_.emplace_back(name, value);
  else
    entries_[static_cast<size_t>(i)].second = value;
}

bool GlimmetPropertyBag::Contains(const QString& name) const {
  return IndexOf(name) >= 0;
}

QStringList GlimmetPropertyBag::Keys() const {
  QStringList keys;
  for (const auto& entry : entries_) keys << entry.first;
  return keys;
}

QVariantMap GlimmetPropertyBag::ToMap() const {
  QVariantMap map;
  for (const auto& [key, value] : entries_) map.insert(key, value);
  return map;
}
