#include "gl/webgl/FixedFunctionShaderSource.h"

const char* const FixedFunctionShaderSource::kVertex = R"(
precision highp float;
attribute vec4 aPosition;
attribute vec4 aColour;
attribute vec3 aNormal;
attribute vec2 aTexCoord;

uniform mat4 uModelView;
uniform mat4 uProjection;
uniform mat4 uTextureMatrix;
uniform mat3 uNormalMatrix;
uniform float uNormalScale;   // GL_RESCALE_NORMAL's factor, else 1
uniform bool uNormalize;      // GL_NORMALIZE
uniform bool uLighting;
uniform bool uLocalViewer;
uniform int uColourMaterial;  // 0 none, 1 ambient, 2 diffuse, 3 both, 4 specular, 5 emission
uniform vec4 uSceneAmbient;
uniform vec4 uMaterial[4];    // ambient, diffuse, specular, emission
uniform float uShininess;
uniform bool uLightOn[8];
uniform vec4 uLightAmbient[8];
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightSpecular[8];
uniform vec4 uLightPosition[8];     // eye space
uniform vec4 uLightSpot[8];         // direction (eye space), cosine of the cut-off (-1: none)
uniform vec4 uLightAttenuation[8];  // constant, linear, quadratic, spot exponent

varying vec4 vColour;
varying vec2 vTexCoord;

void main()
{
    vec4 eye = uModelView * aPosition;
    gl_Position = uProjection * eye;
    gl_PointSize = 1.0;
    vec4 texCoord = uTextureMatrix * vec4(aTexCoord, 0.0, 1.0);
    vTexCoord = texCoord.xy / texCoord.w;
    if (!uLighting)
    {
        vColour = clamp(aColour, 0.0, 1.0);
        return;
    }
    vec4 ambient = uMaterial[0];
    vec4 diffuse = uMaterial[1];
    vec4 specular = uMaterial[2];
    vec4 emission = uMaterial[3];
    if (uColourMaterial == 1 || uColourMaterial == 3) ambient = aColour;
    if (uColourMaterial == 2 || uColourMaterial == 3) diffuse = aColour;
    if (uColourMaterial == 4) specular = aColour;
    if (uColourMaterial == 5) emission = aColour;

    vec3 n = uNormalMatrix * aNormal * uNormalScale;
    if (uNormalize) n = normalize(n);
    vec3 vertex = eye.xyz / eye.w;
    vec3 toEye = uLocalViewer ? normalize(-vertex) : vec3(0.0, 0.0, 1.0);

    vec3 colour = emission.rgb + ambient.rgb * uSceneAmbient.rgb;
    for (int i = 0; i < LIGHT_COUNT; ++i)
    {
        if (!uLightOn[i]) continue;
        vec4 p = uLightPosition[i];
        vec3 toLight;
        float attenuation = 1.0;
        if (p.w != 0.0)
        {
            vec3 d = p.xyz / p.w - vertex;
            float distance = length(d);
            toLight = d / distance;
            vec4 k = uLightAttenuation[i];
            attenuation = 1.0 / (k.x + k.y * distance + k.z * distance * distance);
            if (uLightSpot[i].w > -1.0)
            {
                float along = dot(-toLight, normalize(uLightSpot[i].xyz));
                attenuation *= along >= uLightSpot[i].w ? pow(max(along, 0.0), k.w) : 0.0;
            }
        }
        else
        {
            toLight = normalize(p.xyz);
        }
        float nDotL = dot(n, toLight);
        vec3 term = ambient.rgb * uLightAmbient[i].rgb;
        if (nDotL > 0.0)
        {
            term += nDotL * diffuse.rgb * uLightDiffuse[i].rgb;
            float nDotH = max(dot(n, normalize(toLight + toEye)), 0.0);
            float highlight = uShininess > 0.0 ? pow(nDotH, uShininess) : 1.0;
            term += highlight * specular.rgb * uLightSpecular[i].rgb;
        }
        colour += attenuation * term;
    }
    vColour = vec4(clamp(colour, 0.0, 1.0), clamp(diffuse.a, 0.0, 1.0));
}
)";

const char* const FixedFunctionShaderSource::kFragment = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec4 vColour;
varying vec2 vTexCoord;

uniform bool uTexturing;
uniform sampler2D uTexture;
uniform int uTextureEnv;      // 0 modulate, 1 replace, 2 decal, 3 blend, 4 add
uniform bool uTextureColour;  // the texture has colour (all base formats but alpha)
uniform bool uTextureAlpha;   // the texture has alpha (RGBA, luminance-alpha, alpha)
uniform vec4 uTextureEnvColour;
uniform bvec2 uTextureRepeat;  // repeat here: WebGL clamps a texture of an odd size

void main()
{
    vec4 c = vColour;
#if TEXTURING
    if (uTexturing)
    {
        vec2 st = vec2(uTextureRepeat.x ? fract(vTexCoord.x) : vTexCoord.x,
                       uTextureRepeat.y ? fract(vTexCoord.y) : vTexCoord.y);
        vec4 t = texture2D(uTexture, st);
        vec3 tc = uTextureColour ? t.rgb : vec3(1.0);
        float ta = uTextureAlpha ? t.a : 1.0;
        if (uTextureEnv == 0)
        {
            c = vec4(c.rgb * tc, c.a * ta);
        }
        else if (uTextureEnv == 1)
        {
            c = vec4(uTextureColour ? t.rgb : c.rgb, uTextureAlpha ? t.a : c.a);
        }
        else if (uTextureEnv == 2)
        {
            c = vec4(mix(c.rgb, tc, ta), c.a);
        }
        else if (uTextureEnv == 3)
        {
            c = vec4(mix(c.rgb, uTextureEnvColour.rgb, tc), c.a * ta);
        }
        else
        {
            c = vec4(min(c.rgb + (uTextureColour ? t.rgb : vec3(0.0)), 1.0), c.a * ta);
        }
    }
#endif
    gl_FragColor = c;
}
)";
