// XML entities in the values of project files, as Workbench and Eclipse
// write them (&quot; in a compiler command, &#10; in a define).
#pragma once

#include <string>
#include <string_view>

// The text with the XML entities &quot; &amp; &lt; &gt; &apos; and &#N; /
// &#xN; decoded; anything else that begins with "&" stays as it is.
std::string decodeEntities(std::string_view text);
