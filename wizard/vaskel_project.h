// The first page's ways of taking a project without reading its files: the
// .project a dropped path stands for, judged by names and existence only.
// What the files hold is the converter's to say (vaskel_describe.h).
#pragma once

#include <QString>

// The project file a dropped path stands for: the path itself when it names a
// file ending in ".project", the ".project" inside it when it names a folder
// that holds one, otherwise the empty text.
QString projectFileFor(const QString& droppedPath);
