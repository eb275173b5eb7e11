// Lights, materials, the light model, colour material and the shade model: state only, read by
// the fixed-function program when something is drawn.
#include "gl/webgl/FixedState.h"

#include <algorithm>

namespace
{
LightRecord* LightOf(GLenum light)
{
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + kMaxLights)
    {
        RaiseError(GL_INVALID_ENUM);
        return nullptr;
    }
    return &State().groups.lighting.lights[light - GL_LIGHT0];
}

void Copy4(const GLfloat* from, float* to) { std::copy(from, from + 4, to); }

// The faces a material call changes; false (and the error) for another value.
bool FacesOf(GLenum face, bool& front, bool& back)
{
    front = face == GL_FRONT || face == GL_FRONT_AND_BACK;
    back = face == GL_BACK || face == GL_FRONT_AND_BACK;
    if (!front && !back)
    {
        RaiseError(GL_INVALID_ENUM);
        return false;
    }
    return true;
}

void SetMaterial(MaterialRecord& material, GLenum name, const GLfloat* values)
{
    switch (name)
    {
    case GL_AMBIENT:
        Copy4(values, material.ambient);
        break;
    case GL_DIFFUSE:
        Copy4(values, material.diffuse);
        break;
    case GL_AMBIENT_AND_DIFFUSE:
        Copy4(values, material.ambient);
        Copy4(values, material.diffuse);
        break;
    case GL_SPECULAR:
        Copy4(values, material.specular);
        break;
    case GL_EMISSION:
        Copy4(values, material.emission);
        break;
    case GL_SHININESS:
        if (values[0] < 0.0f || values[0] > 128.0f)
        {
            RaiseError(GL_INVALID_VALUE);
            return;
        }
        material.shininess = values[0];
        break;
    default:
        RaiseError(GL_INVALID_ENUM);
        break;
    }
}
}  // namespace

void TrackColourMaterial()
{
    LightingState& lighting = State().groups.lighting;
    bool front = false;
    bool back = false;
    FacesOf(lighting.colourMaterialFace, front, back);
    const float* colour = State().groups.current.colour;
    if (front)
    {
        SetMaterial(lighting.front, lighting.colourMaterialMode, colour);
    }
    if (back)
    {
        SetMaterial(lighting.back, lighting.colourMaterialMode, colour);
    }
}

void glLightfv(GLenum light, GLenum name, const GLfloat* values)
{
    LightRecord* record = LightOf(light);
    if (record == nullptr || InsidePrimitive())
    {
        return;
    }
    const Matrix4& modelView = State().modelView.back();
    switch (name)
    {
    case GL_AMBIENT:
        Copy4(values, record->ambient);
        break;
    case GL_DIFFUSE:
        Copy4(values, record->diffuse);
        break;
    case GL_SPECULAR:
        Copy4(values, record->specular);
        break;
    case GL_POSITION:
        // Kept in eye space, under the model-view matrix of the moment.
        modelView.Transform(values, record->position);
        break;
    case GL_SPOT_DIRECTION:
    {
        const float direction[4] = {values[0], values[1], values[2], 0.0f};
        float eye[4];
        modelView.Transform(direction, eye);
        std::copy(eye, eye + 3, record->spotDirection);
        break;
    }
    case GL_SPOT_EXPONENT:
        record->spotExponent = values[0];
        break;
    case GL_SPOT_CUTOFF:
        record->spotCutoff = values[0];
        break;
    case GL_CONSTANT_ATTENUATION:
        record->attenuation[0] = values[0];
        break;
    case GL_LINEAR_ATTENUATION:
        record->attenuation[1] = values[0];
        break;
    case GL_QUADRATIC_ATTENUATION:
        record->attenuation[2] = values[0];
        break;
    default:
        RaiseError(GL_INVALID_ENUM);
        break;
    }
}

void glLightf(GLenum light, GLenum name, GLfloat value) { glLightfv(light, name, &value); }
void glLighti(GLenum light, GLenum name, GLint value) { glLightf(light, name, float(value)); }

void glGetLightfv(GLenum light, GLenum name, GLfloat* values)
{
    const LightRecord* record = LightOf(light);
    if (record == nullptr)
    {
        return;
    }
    switch (name)
    {
    case GL_AMBIENT:
        Copy4(record->ambient, values);
        break;
    case GL_DIFFUSE:
        Copy4(record->diffuse, values);
        break;
    case GL_SPECULAR:
        Copy4(record->specular, values);
        break;
    case GL_POSITION:
        Copy4(record->position, values);
        break;
    case GL_CONSTANT_ATTENUATION:
    case GL_LINEAR_ATTENUATION:
    case GL_QUADRATIC_ATTENUATION:
        values[0] = record->attenuation[name - GL_CONSTANT_ATTENUATION];
        break;
    default:
        RaiseError(GL_INVALID_ENUM);
        break;
    }
}

void glLightModelfv(GLenum name, const GLfloat* values)
{
    if (InsidePrimitive())
    {
        return;
    }
    LightingState& lighting = State().groups.lighting;
    switch (name)
    {
    case GL_LIGHT_MODEL_AMBIENT:
        Copy4(values, lighting.sceneAmbient);
        break;
    case GL_LIGHT_MODEL_LOCAL_VIEWER:
        lighting.localViewer = values[0] != 0.0f;
        break;
    case GL_LIGHT_MODEL_TWO_SIDE:
        lighting.twoSide = values[0] != 0.0f;
        break;
    case GL_LIGHT_MODEL_COLOR_CONTROL:
        break;  // one colour: specular is always added before texturing
    default:
        RaiseError(GL_INVALID_ENUM);
        break;
    }
}

void glLightModelf(GLenum name, GLfloat value) { glLightModelfv(name, &value); }
void glLightModeli(GLenum name, GLint value) { glLightModelf(name, float(value)); }

void glMaterialfv(GLenum face, GLenum name, const GLfloat* values)
{
    bool front = false;
    bool back = false;
    if (!FacesOf(face, front, back))
    {
        return;
    }
    LightingState& lighting = State().groups.lighting;
    if (front)
    {
        SetMaterial(lighting.front, name, values);
    }
    if (back)
    {
        SetMaterial(lighting.back, name, values);
    }
}

void glMaterialf(GLenum face, GLenum name, GLfloat value) { glMaterialfv(face, name, &value); }
void glMateriali(GLenum face, GLenum name, GLint value) { glMaterialf(face, name, float(value)); }

void glGetMaterialfv(GLenum face, GLenum name, GLfloat* values)
{
    const LightingState& lighting = State().groups.lighting;
    const MaterialRecord& m = face == GL_BACK ? lighting.back : lighting.front;
    switch (name)
    {
    case GL_AMBIENT:
        Copy4(m.ambient, values);
        break;
    case GL_DIFFUSE:
        Copy4(m.diffuse, values);
        break;
    case GL_SPECULAR:
        Copy4(m.specular, values);
        break;
    case GL_EMISSION:
        Copy4(m.emission, values);
        break;
    case GL_SHININESS:
        values[0] = m.shininess;
        break;
    default:
        RaiseError(GL_INVALID_ENUM);
        break;
    }
}

void glColorMaterial(GLenum face, GLenum mode)
{
    if (InsidePrimitive())
    {
        return;
    }
    bool front = false;
    bool back = false;
    if (!FacesOf(face, front, back))
    {
        return;
    }
    if (mode != GL_AMBIENT && mode != GL_DIFFUSE && mode != GL_AMBIENT_AND_DIFFUSE &&
        mode != GL_SPECULAR && mode != GL_EMISSION)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    LightingState& lighting = State().groups.lighting;
    lighting.colourMaterialFace = face;
    lighting.colourMaterialMode = mode;
    if (State().groups.enables.colourMaterial)
    {
        TrackColourMaterial();
    }
}

void glShadeModel(GLenum mode)
{
    if (InsidePrimitive())
    {
        return;
    }
    if (mode != GL_FLAT && mode != GL_SMOOTH)
    {
        RaiseError(GL_INVALID_ENUM);
        return;
    }
    State().groups.lighting.shadeModel = mode;
}
