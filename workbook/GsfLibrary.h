#pragma once

// Starts libgsf once, before the first container is opened. What libgsf
// finds wrong in a damaged file becomes our own refusal; its complaints on
// stderr would only confuse the person at the keyboard, so they are dropped.
void InitGsf();
