// The property bag a host hands to a Glimmet to load from and save into.
// Keys are matched without regard to letter case; the order in
// which keys were first written is kept, so a save can be checked key by key.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <initializer_list>
#include <utility>
#include <vector>

#include "glimmet_export.h"

class GLIMMET_EXPORT GlimmetPropertyBag {
 public:
  GlimmetPropertyBag() = default;
  GlimmetPropertyBag(std::initializer_list<std::pair<QString, QVariant>> values);
  explicit GlimmetPropertyBag(const QVariantMap& values);
  virtual ~GlimmetPropertyBag() = default;

  // The value stored under `name` (any letter case), or `defaultValue`.
  virtual QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;
  // Replaces the value under `name` (any letter case) or appends it.
  virtual void WriteProperty(const QString& name, const QVariant& value);

  bool Contains(const QString& name) const;
  // Keys in the order they were first written, in the letter case written.
  QStringList Keys() const;
  int Count() const { return static_cast<int>(entries_.size()); }
  void Clear() { entries_.clear(); }
  QVariantMap ToMap() const;

 private:
  int IndexOf(const QString& name) const;
  std::vector<std::pair<QString, QVariant>> entries_;
};
