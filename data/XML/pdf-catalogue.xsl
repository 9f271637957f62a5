<?xml version="1.0" encoding="UTF-8"?>
<!-- Printable catalogue: A4 pages, one entry per image with its thumbnail, file name, headline,
     caption and keywords. Rendered to Zelvarion.pdf by fop.sh in this folder. -->
<!-- extension=fo -->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:fo="http://www.w3.org/1999/XSL/Format"
    xmlns:str="http://exslt.org/strings"
    exclude-result-prefixes="str">

  <xsl:output method="xml" encoding="UTF-8" indent="no"/>

  <xsl:template name="file-name">
    <xsl:param name="path"/>
    <xsl:choose>
      <xsl:when test="contains($path, '/')">
        <xsl:call-template name="file-name">
          <xsl:with-param name="path" select="substring-after($path, '/')"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$path"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="/IPTCtoXML">
    <fo:root font-family="DejaVu Sans, WenQuanYi Micro Hei, sans-serif" font-size="9.5pt">
      <fo:layout-master-set>
        <fo:simple-page-master master-name="page" page-width="210mm" page-height="297mm"
            margin-top="14mm" margin-bottom="12mm" margin-left="16mm" margin-right="16mm">
          <fo:region-body margin-top="16mm" margin-bottom="10mm"/>
          <fo:region-before extent="12mm"/>
          <fo:region-after extent="8mm"/>
        </fo:simple-page-master>
      </fo:layout-master-set>
      <fo:page-sequence master-reference="page">
        <fo:static-content flow-name="xsl-region-before">
          <fo:block font-size="15pt" font-weight="bold" color="#1f2a37"
              border-bottom="0.6pt solid #1f2a37" padding-bottom="2mm">
            <xsl:choose>
              <xsl:when test="Title"><xsl:apply-templates select="Title"/></xsl:when>
              <xsl:otherwise>Catalogue</xsl:otherwise>
            </xsl:choose>
          </fo:block>
        </fo:static-content>
        <fo:static-content flow-name="xsl-region-after">
          <fo:block font-size="8pt" color="#6b7684" text-align-last="justify">
            <xsl:value-of select="@dategeneration"/>
            <fo:leader leader-pattern="space"/>
            <xsl:text>Page </xsl:text><fo:page-number/>
          </fo:block>
        </fo:static-content>
        <fo:flow flow-name="xsl-region-body">
          <xsl:apply-templates select="File"/>
          <xsl:if test="not(File)">
            <fo:block>No images.</fo:block>
          </xsl:if>
        </fo:flow>
      </fo:page-sequence>
    </fo:root>
  </xsl:template>

  <xsl:template match="File">
    <fo:table table-layout="fixed" width="100%" keep-together.within-page="always"
        space-after="4mm" border-bottom="0.3pt solid #c5ccd6">
      <fo:table-column column-width="46mm"/>
      <fo:table-column column-width="proportional-column-width(1)"/>
      <fo:table-body>
        <fo:table-row>
          <fo:table-cell padding-bottom="3mm">
            <fo:block>
              <xsl:if test="ThumbName">
                <xsl:variable name="thumb">
                  <xsl:call-template name="file-name">
                    <xsl:with-param name="path" select="ThumbName"/>
                  </xsl:call-template>
                </xsl:variable>
                <fo:external-graphic src="url('thumbs/{str:encode-uri($thumb, true())}')"
                    content-width="scale-to-fit" content-height="scale-to-fit"
                    width="42mm" height="32mm" scaling="uniform"/>
              </xsl:if>
            </fo:block>
          </fo:table-cell>
          <fo:table-cell padding-bottom="3mm">
            <fo:block font-weight="bold" font-size="10.5pt">
              <xsl:value-of select="id"/><xsl:text>. </xsl:text><xsl:value-of select="Name"/>
            </fo:block>
            <fo:block font-size="7.5pt" color="#6b7684" space-after="1.5mm">
              <xsl:value-of select="Dir"/>
              <xsl:if test="Width"> · <xsl:value-of select="Width"/> × <xsl:value-of select="Height"/></xsl:if>
            </fo:block>
            <xsl:if test="iptc/Headline">
              <fo:block font-weight="bold" color="#2b4a73"><xsl:apply-templates select="iptc/Headline"/></fo:block>
            </xsl:if>
            <xsl:if test="iptc/Caption">
              <fo:block space-before="1mm"><xsl:apply-templates select="iptc/Caption"/></fo:block>
            </xsl:if>
            <xsl:if test="iptc/Keyword">
              <fo:block space-before="1.5mm" font-size="8pt" color="#29466b">
                <xsl:for-each select="iptc/Keyword">
                  <xsl:if test="position() &gt; 1"> · </xsl:if>
                  <xsl:apply-templates/>
                </xsl:for-each>
              </fo:block>
            </xsl:if>
          </fo:table-cell>
        </fo:table-row>
      </fo:table-body>
    </fo:table>
  </xsl:template>

  <xsl:template match="euro">&#x20AC;</xsl:template>
</xsl:stylesheet>
