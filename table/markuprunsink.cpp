#include "table/markuprunsink.h"

MarkupRunSink::~MarkupRunSink() = default;
