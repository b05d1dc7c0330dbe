#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace quorva {

// A theme's items, by their names, in their order: android:windowBackground, @drawable/…
using StyleItems = std::vector<std::pair<QString, QString>>;

// A style as a values file defines it.
struct StyleDefinition {
    QString parent; // empty for none
    StyleItems items;
};

// Why a name is no style's name, as aapt takes them: a letter, then letters, digits, '_' and '.'
// ("Theme.App.Starting"); nothing for one that is.
std::optional<QString> styleNameProblem(const QString& name);
inline constexpr const char* styleNameText = "a style's name (a letter, then letters, digits, '_' and '.')";

// The style a values file defines by that name; nothing where it defines none, defines it more
// than once, or can't be read as XML.
std::optional<StyleDefinition> styleIn(const QByteArray& xml, const QString& name);

// A values file with a theme's items set in place, as a project keeps its themes among its other
// values: each item's text replaced where the style has it, the others added before its
// </style>, every other byte as it was. Where the file lacks the style, it is added before
// </resources>, as base gives it with the items set; with no file, a file of that style alone.
// Nothing when the file is no UTF-8 XML with a <resources> root, or defines the style more than
// once, or an item's value as more than text.
std::optional<QByteArray> withStyleItems(const std::optional<QByteArray>& xml, const QString& name,
                                         const StyleDefinition& base, const StyleItems& items);

} // namespace quorva
