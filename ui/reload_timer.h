#pragma once
// The hot reload timer: polls the document's data files twice a second while the engine runs, in
// every run; in development mode a held outside change is offered for reload after the poll.
struct DevDocument;

void StartHotReload(DevDocument& document);
