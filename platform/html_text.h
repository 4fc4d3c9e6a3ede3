#pragma once
// Text put into an HTML page: the characters that HTML reads as markup are written as
// entities, so a name holding "<", "&" or a double quote shows as typed and cannot change
// the page. The same form serves element text and quoted attribute values.

#include <string>
#include <string_view>

namespace qv {

// The text with & < > " written as &amp; &lt; &gt; &quot;; every other byte unchanged.
std::string EscapeHtml(std::string_view text);

}  // namespace qv
