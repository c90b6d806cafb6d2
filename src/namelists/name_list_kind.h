#pragma once

#include "device/link_state.h"
#include "support/bilingual.h"

#include <QString>
#include <QStringList>

#include <array>

namespace kvt {

constexpr int NameCount = NameListSlots;

// What tells the material list from the object list; everything else about
// the two editors is the same.
struct NameListKind {
    NameList list;
    TextPair windowCaption;
    QString fileSection;
    QString extension;
    QString filter;
    QStringList replacedExtensions; // brought back to the list's own on saving
    LinkState readRequest;
    LinkState writeRequest;
    NameListBlock LinkShared::*table;
    std::array<TextPair, NameCount> defaultNames;
};

const NameListKind &materialsKind();
const NameListKind &objectsKind();

// The list's default names in a language, slot 0 first.
QStringList defaultNames(const NameListKind &kind, Language language);

} // namespace kvt
