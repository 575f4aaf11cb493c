#pragma once
// The per-user defaults written from a project: AGP.SaveDefault.
namespace vantorel {

class AGP;

// Stores the project's (and its database's) RegSave settings as the user's defaults under
// ProjectKey and DatabaseKey, then the engine options under GeneralKey.
void saveProjectDefaults(AGP& project);

}  // namespace vantorel
