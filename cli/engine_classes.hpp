#pragma once

namespace vantorel::cli {

// Makes every public class of the engine creatable by its ProgID ("vantorel4.<Class>").
void registerEngineClasses();

}  // namespace vantorel::cli
