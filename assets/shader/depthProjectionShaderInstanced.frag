#version 430 core

// The pass keeps only depth; there is no colour attachment to write.
void main() {
}
